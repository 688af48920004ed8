#include "tools/qax-host/Graphviz.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host/files/ByteCountText.h"
#include "host/files/Descriptor.h"
#include "host/files/InputFile.h"

extern char** environ;

namespace qaxoi::qax_host {

namespace {

using qaxoi::files::Descriptor;

// The exit code a shell gives a program it cannot find.
constexpr int kNotFoundExit = 127;
// The most bytes taken from dot in one read.
constexpr std::size_t kReadBlock = std::size_t{64} << 10;

constexpr const char* kNotInstalled =
    "Graphviz's 'dot' program is not installed; install graphviz or use --format dot";

// Ignores SIGPIPE while it lives, so that a dot that exits without reading
// its input makes a failed write, not the end of qax-host.
class PipeSignalIgnored {
 public:
  PipeSignalIgnored() {
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &saved_);
  }
  ~PipeSignalIgnored() { ::sigaction(SIGPIPE, &saved_, nullptr); }
  PipeSignalIgnored(const PipeSignalIgnored&) = delete;
  PipeSignalIgnored& operator=(const PipeSignalIgnored&) = delete;

 private:
  struct sigaction saved_ = {};
};

// Starts dot with its standard input and output on the pipes' other ends.
bool Spawn(const std::string& format, int input, int output, pid_t* pid) {
  const std::string formatFlag = "-T" + format;
  char* argv[] = {const_cast<char*>("dot"), const_cast<char*>(formatFlag.c_str()), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
  const bool started = posix_spawnp(pid, "dot", &actions, &attributes, argv, environ) == 0;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return started;
}

// Hands `dot` to `input` and reads `output` to its end into `drawing`, both
// at once so that neither side waits for the other. Answers 0, or the errno
// of a failed read; a failed write (dot gave up) is left to dot's exit code.
int Exchange(Descriptor* input, Descriptor* output, const std::string& dot, std::string* drawing,
             bool* tooLarge) {
  ::fcntl(input->get(), F_SETFL, O_NONBLOCK);
  std::size_t written = 0;
  char block[kReadBlock];
  while (output->valid()) {
    pollfd watched[2] = {{output->get(), POLLIN, 0}, {input->get(), POLLOUT, 0}};
    const nfds_t count = input->valid() ? 2 : 1;
    if (::poll(watched, count, -1) < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (count == 2 && watched[1].revents != 0) {
      const ssize_t done = ::write(input->get(), dot.data() + written, dot.size() - written);
      if (done > 0) written += static_cast<std::size_t>(done);
      if ((done < 0 && errno != EAGAIN && errno != EINTR) || written == dot.size()) input->Close();
    }
    if (watched[0].revents == 0) continue;
    const ssize_t got = ::read(output->get(), block, sizeof(block));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) {
      output->Close();
    } else if (drawing->size() + static_cast<std::size_t>(got) > qaxoi::files::kMaxInputBytes) {
      *tooLarge = true;
      output->Close();
    } else {
      drawing->append(block, static_cast<std::size_t>(got));
    }
  }
  return 0;
}

}  // namespace

qaxoi::Status RenderWithDot(const std::string& format, const std::string& dot,
                            std::string* drawing) {
  int toDot[2];
  int fromDot[2];
  if (::pipe2(toDot, O_CLOEXEC) != 0) {
    return qaxoi::Status::IoError(std::string("cannot start Graphviz's 'dot': ") +
                                  std::strerror(errno));
  }
  Descriptor dotInput(toDot[0]), input(toDot[1]);
  if (::pipe2(fromDot, O_CLOEXEC) != 0) {
    return qaxoi::Status::IoError(std::string("cannot start Graphviz's 'dot': ") +
                                  std::strerror(errno));
  }
  Descriptor output(fromDot[0]), dotOutput(fromDot[1]);
  const PipeSignalIgnored ignored;
  pid_t pid = 0;
  if (!Spawn(format, dotInput.get(), dotOutput.get(), &pid)) {
    return qaxoi::Status::NotSupported(kNotInstalled);
  }
  dotInput.Close();
  dotOutput.Close();
  std::string drawn;
  bool tooLarge = false;
  const int failed = Exchange(&input, &output, dot, &drawn, &tooLarge);
  input.Close();
  output.Close();
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (tooLarge) {
    return qaxoi::Status::ResourceExhausted(
        "Graphviz's 'dot' drew more than " +
        qaxoi::files::ByteCountText(qaxoi::files::kMaxInputBytes));
  }
  if (failed != 0) {
    return qaxoi::Status::IoError(std::string("cannot read what Graphviz's 'dot' drew: ") +
                                  std::strerror(failed));
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == kNotFoundExit) {
    return qaxoi::Status::NotSupported(kNotInstalled);
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return qaxoi::Status::InvalidInput("Graphviz's 'dot' failed to draw the graph as " + format);
  }
  drawing->swap(drawn);
  return qaxoi::Status::Ok();
}

}  // namespace qaxoi::qax_host
