// An open file descriptor that closes itself.
#ifndef QAX_HOST_FILES_DESCRIPTOR_H_
#define QAX_HOST_FILES_DESCRIPTOR_H_

#include <unistd.h>

#include <cerrno>

namespace qaxoi::files {

// Owns a descriptor (or -1 for none) and closes it when it goes out of scope,
// unless closed before.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now; answers 0, or the errno of a failed close (a write that the
  // system deferred may fail here).
  int Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

}  // namespace qaxoi::files

#endif  // QAX_HOST_FILES_DESCRIPTOR_H_
