// qax-host run as a user runs it: commands, exit codes, output, and group
// files that are saved, loaded, truncated and corrupted.
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "host/files/TemporaryName.h"
#include "tests/support/ParsedRdf.h"

namespace {

struct Result {
  int exitCode;
  std::string out, err;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class QaxHost : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/qax-host-test-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(folder));
    dir_ = folder;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  // Runs qax-host with `arguments` (none holds a quote) through the shell.
  // `input`, when given, is the file that standard input reads; `output`,
  // when given, is where standard output goes instead of Result::out.
  Result Run(const std::vector<std::string>& arguments, const std::string& input = "/dev/null",
             const std::string& output = "") {
    std::string command = std::string(std::getenv("QAX_BIN_DIR")) + "/qax-host <" + input;
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    const std::string out = output.empty() ? Path("out") : output;
    const int status = std::system((command + " >" + out + " 2>" + Path("err")).c_str());
    return Result{WEXITSTATUS(status), output.empty() ? ReadFile(out) : "", ReadFile(Path("err"))};
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  // The names in the test's folder that start with `prefix`, but `except`,
  // one per line.
  std::string Listing(const std::string& prefix, const std::string& except) const {
    std::string names;
    DIR* folder = ::opendir(dir_.c_str());
    while (const dirent* entry = folder != nullptr ? ::readdir(folder) : nullptr) {
      const std::string name = entry->d_name;
      if (name.compare(0, prefix.size(), prefix) == 0 && name != except) names += name + "\n";
    }
    if (folder != nullptr) ::closedir(folder);
    return names;
  }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << bytes;
  }
  // Saves a penguin with a nested place, and answers the file's bytes.
  std::string SavePenguin() {
    const Result saved = Run({"save", "zoo:Penguin", Path("penguin.grp"), "name=Pingu",
                              "alive=true", "legs=2", "weight=4.5", "habitat.placeName=Ross Sea"});
    EXPECT_EQ(0, saved.exitCode) << saved.err;
    return ReadFile(Path("penguin.grp"));
  }

  std::string dir_;
};

TEST_F(QaxHost, CommandsShowTheirOutput) {
  const struct {
    std::vector<std::string> arguments;
    std::vector<std::string> parts;  // in this order in the output
  } cases[] = {
      {{}, {"zoo:Penguin", "placeName = \"Ross Sea\""}},  // the tour
      {{"type"},
       {"name       QAXOntologyItem\n", "type guid  {6B9BDE34-8AC5-11DF-94AA-11F5DED72085}\n"}},
      {{"describe", "http://example.org/zoo#Animal"},
       {"Class:\tzoo.Animal\nParent:\tzoo.Being\nAbstract:\tno\nDoc:\tA being that moves and "
        "eats.\n\n-------- attributes --------\n\nborn\tdate\nlegs\tinteger\nweight\tdecimal\n"}},
      {{"build", "zoo:Penguin", "name=Pingu", "legs=2.9", "alive=no", "habitat=geo:Place",
        "habitat.latitude=-77.5"},
       {"zoo::Penguin\n  alive = \"0\"\n  name = \"Pingu\"\n  legs = \"2\"\n  habitat = "
        "geo::Place\n    latitude = \"-77.5\"\n"}},
      {{"classes"}, {"library zoo (3 classes)", "library geo (1 class)"}},
  };
  for (const auto& c : cases) {
    const Result result = Run(c.arguments);
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ("", result.err);
    std::size_t at = 0;
    for (const std::string& part : c.parts) {
      at = result.out.find(part, at);
      EXPECT_NE(std::string::npos, at) << part << " in\n" << result.out;
    }
  }
}

TEST_F(QaxHost, RefusesBadInputWithAClearMessageAndNonzeroExit) {
  Write("two.ttl",
        "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
        "<http://a.example/ns#Thing> a owl:Class .\n"
        "<http://b.example/ns#Thing> a owl:Class .\n");
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;
  } cases[] = {
      {{"build", "Pengu"}, 1, "no class 'Pengu'"},
      {{"build", "Penguin", "colour=red"}, 1, "has no attribute 'colour'"},
      {{"build", "Penguin", "legs=four"}, 1, "'legs' needs a number, not 'four'"},
      {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
      {{"--ontology"}, 2, "--ontology needs a value"},
      {{"classes", "--ontology", "/nonexistent/x.ttl"}, 1, "x.ttl"},
      {{"classes", "--ontology", "/"}, 1, "cannot read '/': it is a directory"},
      {{"type", "--module", "/nonexistent/M.so"}, 1, "/nonexistent/M.so"},
      {{"save", "zoo:Penguin", Path("missing/x.grp")}, 1, "missing/x.grp"},
      {{"describe", "Thing", "--ontology", Path("two.ttl")},
       1,
       "class name 'Thing' is ambiguous; say which:\n  "},
  };
  for (const auto& c : cases) {
    const Result result = Run(c.arguments);
    EXPECT_EQ(c.exitCode, result.exitCode) << c.arguments[0] << ": " << result.err;
    EXPECT_NE(std::string::npos, result.err.find(c.message)) << result.err;
    EXPECT_EQ(0u, result.err.find("qax-host: ")) << result.err;
  }
}

TEST_F(QaxHost, SavedFilesLoadBackDumpDecodedAndDraw) {
  const std::string bytes = SavePenguin();
  // A failed save leaves the file alone.
  EXPECT_EQ(1, Run({"save", "zoo:Penguin", Path("penguin.grp"), "legs=many"}).exitCode);
  EXPECT_EQ(bytes, ReadFile(Path("penguin.grp")));
  const Result loaded = Run({"load", Path("penguin.grp")});
  EXPECT_EQ("", loaded.err);
  for (const char* part :
       {"group \"qax-host\": 7 channels", "#2 Text \"name\" \"Pingu\"",
        "item built by #0:\nzoo::Penguin\n  alive = \"1\"\n  name = \"Pingu\"\n  legs = \"2\"\n  "
        "weight = \"4.5\"\n  habitat = geo::Place\n    placeName = \"Ross Sea\"\n"}) {
    EXPECT_NE(std::string::npos, loaded.out.find(part)) << part;
  }
  const Result dump = Run({"dump", Path("penguin.grp")});
  for (const char* line :
       {"QAXOntologyItem {6B9BDE34-8AC5-11DF-94AA-11F5DED72085}",
        "CID               30  \"http://example.org/zoo#Penguin\"",
        "MODE               4  4294967295 (no mode)", "CHILDSIZE          4  8"}) {
    EXPECT_NE(std::string::npos, dump.out.find(line)) << line;
  }
  // Scripts read one JSON document.
  const auto json = nlohmann::json::parse(Run({"--json", "load", Path("penguin.grp")}).out);
  EXPECT_EQ(4.5, json["channels"][4]["value"]);
  EXPECT_EQ("Pingu", json["items"][0]["item"]["attributes"]["name"]);
  EXPECT_EQ(0, Run({"graph", "--file", Path("penguin.grp"), "--output", Path("g.dot")}).exitCode);
  EXPECT_NE(std::string::npos, ReadFile(Path("g.dot")).find("c0 -> c2 [label=\"zoo.name\"]"));
}

// What export writes is linked data that a strict parser reads back: the same
// statements from the arguments, from a saved file and from standard input.
TEST_F(QaxHost, ExportWritesTheItemsAsTurtleOrNTriplesThatParseBack) {
  SavePenguin();
  const std::vector<std::string> statements = {
      "_:1 <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> <http://example.org/zoo#Penguin>",
      "_:1 <http://example.org/zoo#alive> \"true\"^^<http://www.w3.org/2001/XMLSchema#boolean>",
      "_:1 <http://example.org/zoo#name> \"Pingu\"",
      "_:1 <http://example.org/zoo#legs> \"2\"^^<http://www.w3.org/2001/XMLSchema#integer>",
      "_:1 <http://example.org/zoo#weight> \"4.5\"^^<http://www.w3.org/2001/XMLSchema#decimal>",
      "_:1 <http://example.org/zoo#habitat> _:2",
      "_:2 <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> <http://example.org/geo#Place>",
      "_:2 <http://example.org/geo#placeName> \"Ross Sea\""};
  const Result built = Run({"export", "zoo:Penguin", "name=Pingu", "alive=true", "legs=2",
                            "weight=4.5", "habitat.placeName=Ross Sea"});
  EXPECT_EQ("", built.err);
  EXPECT_EQ(statements, qax_test::ParsedStatements(built.out));
  EXPECT_EQ(statements,
            qax_test::ParsedStatements(Run({"export", "--file", Path("penguin.grp")}).out));
  const Result piped = Run({"export", "--file", "-", "--format", "ntriples", "-o", Path("p.nt")},
                           Path("penguin.grp"));
  EXPECT_EQ("wrote 1 item to " + Path("p.nt") + "\n", piped.out);
  EXPECT_EQ(statements, qax_test::ParsedStatements(ReadFile(Path("p.nt")), true));
}

// A damaged file is refused naming the file and the byte; dump still shows
// what it can read and marks the damage.
TEST_F(QaxHost, DamagedFilesAreRefusedNamingTheFileAndByteAndDumpShowsWhatIsLeft) {
  const std::string bytes = SavePenguin();
  std::string flipped = bytes;
  flipped[bytes.find("Pingu")] ^= 0x01;
  const std::string channel2 =
      "channel 2 (Text {6E6FB247-4627-4FBE-8973-48344F23881E}), byte 678: the channel's checksum "
      "does not match (the file is damaged)\n";
  Write("bad.grp", bytes.substr(0, bytes.size() - 1));
  const Result cut = Run({"load", Path("bad.grp")});
  EXPECT_EQ(1, cut.exitCode);
  EXPECT_EQ(0u, cut.err.find("qax-host: group file '" + Path("bad.grp") + "', ")) << cut.err;
  Write("bad.grp", flipped);
  const Result damaged = Run({"dump", "-"}, Path("bad.grp"));
  EXPECT_EQ(1, damaged.exitCode);
  EXPECT_EQ("qax-host: group file '(standard input)', " + channel2, damaged.err);
  EXPECT_NE(std::string::npos,
            damaged.out.find("channel #2 at byte 678: Text {6E6FB247-4627-4FBE-8973-48344F23881E}\n"
                             "  DAMAGED: the channel's checksum does not match; what follows may "
                             "be wrong\n  host state: text \"Qingu\""))
      << damaged.out;
  EXPECT_NE(std::string::npos, damaged.out.find("channel #6 at byte"));  // read on to the end
}

// Every file qax-host writes goes through one safe writer: what is on disk
// afterwards, the exit code and the message, for each kind of target.
TEST_F(QaxHost, OutputsReplaceFilesSafelyWriteStreamsAndFailWithAMessage) {
  const std::string name255(255, 'n');
  pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ::waitpid(dead, nullptr, 0);
  const std::string stale = qax_files::TemporaryName("stale.grp", dead, 0);
  const std::string live = qax_files::TemporaryName("stale.grp", ::getpid(), 0);
  std::thread reader;
  std::string fromFifo;
  const auto modeOf = [this](const std::string& name) {
    struct stat info = {};
    ::lstat(name[0] == '/' ? name.c_str() : Path(name).c_str(), &info);
    return info.st_mode;
  };
  const auto isGroup = [this](const std::string& name) {
    return ReadFile(Path(name)).compare(0, 6, "A3DGRP") == 0;
  };
  const struct {
    const char* what;
    std::function<void()> setUp;
    std::vector<std::string> arguments;
    std::string output;  // where standard output goes; "": Result::out
    int exitCode;
    std::string message;  // standard error
    std::function<bool()> onDisk;
  } cases[] = {
      {"a symlink's target is replaced, the link stays",
       [&] {
         Write("real.grp", "old");
         ::symlink("real.grp", Path("link.grp").c_str());
       },
       {"save", "zoo:Penguin", Path("link.grp")},
       "",
       0,
       "",
       [&] { return S_ISLNK(modeOf("link.grp")) && isGroup("real.grp"); }},
      {"a FIFO is written as a stream",
       [&] {
         ::mkfifo(Path("out.fifo").c_str(), 0600);
         reader = std::thread([&] { fromFifo = ReadFile(Path("out.fifo")); });
       },
       {"export", "zoo:Penguin", "name=Pingu", "-o", Path("out.fifo")},
       "",
       0,
       "",
       [&] {
         reader.join();
         return S_ISFIFO(modeOf("out.fifo")) && fromFifo.find("\"Pingu\"") != std::string::npos;
       }},
      {"a file without write permission is refused, even for root",
       [&] {
         Write("ro.grp", "old");
         ::chmod(Path("ro.grp").c_str(), 0444);
       },
       {"save", "zoo:Penguin", Path("ro.grp")},
       "",
       1,
       "qax-host: cannot save '" + Path("ro.grp") +
           "': it is read-only (mode 0444); make it writable first (chmod u+w)\n",
       [&] { return ReadFile(Path("ro.grp")) == "old"; }},
      {"a replaced file keeps its mode",
       [&] {
         Write("mode.grp", "old");
         ::chmod(Path("mode.grp").c_str(), 0640);
       },
       {"graph", "zoo:Penguin", "--output", Path("mode.grp")},
       "",
       0,
       "",
       [&] { return (modeOf("mode.grp") & 07777) == 0640 && ReadFile(Path("mode.grp")) != "old"; }},
      {"a file with two hard links is refused",
       [&] {
         Write("one.grp", "old");
         ::link(Path("one.grp").c_str(), Path("two.grp").c_str());
       },
       {"save", "zoo:Penguin", Path("one.grp")},
       "",
       1,
       "qax-host: cannot save '" + Path("one.grp") +
           "': it has 2 hard links, and replacing it would leave the others with the old "
           "contents; save under another name or remove the other links\n",
       [&] { return ReadFile(Path("one.grp")) == "old" && ReadFile(Path("two.grp")) == "old"; }},
      {"the temporary file of a dead process is removed, a live one's kept",
       [&] {
         Write(stale, "junk");
         Write(live, "mine");
       },
       {"save", "zoo:Penguin", Path("stale.grp")},
       "",
       0,
       "",
       [&] {
         return isGroup("stale.grp") && ::access(Path(stale).c_str(), F_OK) != 0 &&
                ReadFile(Path(live)) == "mine";
       }},
      {"a 255-byte name is saved",
       [] {},
       {"save", "zoo:Penguin", Path(name255)},
       "",
       0,
       "",
       [&] { return isGroup(name255); }},
      {"svg drawn through dot, from its standard input",
       [] {},
       {"graph", "zoo:Penguin", "--format", "svg", "--output", Path("g.svg")},
       "",
       0,
       "",
       [&] { return ReadFile(Path("g.svg")).find("<svg") != std::string::npos; }},
      {"/dev/stdout is standard output, not a file to replace",
       [] {},
       {"export", "zoo:Penguin", "-o", "/dev/stdout"},
       Path("stdout.ttl"),
       0,
       "",
       [&] {
         return S_ISLNK(modeOf("/dev/stdout")) &&
                ReadFile(Path("stdout.ttl")).find("a zoo:Penguin") != std::string::npos;
       }},
      {"a full device",
       [] {},
       {"export", "zoo:Penguin", "-o", "/dev/full"},
       "",
       1,
       "qax-host: cannot save '/dev/full': No space left on device\n",
       [] { return true; }},
      {"a full standard output",
       [] {},
       {"dump", "-"},
       "/dev/full",
       1,
       "qax-host: cannot write standard output: No space left on device\n",
       [] { return true; }},
  };
  SavePenguin();
  for (const auto& c : cases) {
    c.setUp();
    const Result result = c.arguments[0] == "dump" ? Run(c.arguments, Path("penguin.grp"), c.output)
                                                   : Run(c.arguments, "/dev/null", c.output);
    EXPECT_EQ(c.exitCode, result.exitCode) << c.what << ": " << result.err;
    EXPECT_EQ(c.message, result.err) << c.what;
    EXPECT_TRUE(c.onDisk()) << c.what;
  }
  // Nothing but what the rows left: no temporary file of any save.
  EXPECT_EQ("", Listing(".qax-", live));
}

}  // namespace
