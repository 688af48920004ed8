// qax-host run as a user runs it: commands, exit codes, output, and group
// files that are saved, loaded, truncated and corrupted.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

extern char** environ;

namespace {

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

std::string BinDir() {
  const char* folder = std::getenv("QAX_BIN_DIR");
  return folder != nullptr ? folder : ".";
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

class QaxHost : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/qax-host-test-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(folder));
    dir_ = folder;
  }
  void TearDown() override {
    const std::string command = "rm -rf '" + dir_ + "'";
    ASSERT_EQ(0, std::system(command.c_str()));
  }

  // Runs qax-host with `arguments`, capturing its output streams.
  Result Run(const std::vector<std::string>& arguments) {
    const std::string program = BinDir() + "/qax-host";
    const std::string outPath = dir_ + "/stdout";
    const std::string errPath = dir_ + "/stderr";
    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    Result result;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
      int status = 0;
      waitpid(pid, &status, 0);
      result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  // Saves a penguin with a nested place and answers the file's path.
  std::string SavePenguin() {
    const std::string file = Path("penguin.grp");
    const Result saved = Run({"save", "zoo:Penguin", file, "name=Pingu", "alive=true", "legs=2",
                              "weight=4.5", "habitat.placeName=Ross Sea"});
    EXPECT_EQ(0, saved.exitCode) << saved.err;
    return file;
  }

  std::string dir_;
};

TEST_F(QaxHost, CommandsShowTheirOutput) {
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> parts;  // in this order in the output
    const char* whole;               // null: not checked
  };
  const Case cases[] = {
      // Without a command: the tour of the sample ontology.
      {{}, {"zoo:Penguin", "placeName = \"Ross Sea\""}, nullptr},
      {{"type"},
       {"name       QAXOntologyItem\n", "type guid  {6B9BDE34-8AC5-11DF-94AA-11F5DED72085}\n"},
       nullptr},
      {{"describe", "http://example.org/zoo#Animal"},
       {},
       "Class:\tzoo.Animal\nParent:\tzoo.Being\nAbstract:\tno\nDoc:\tA being that moves and "
       "eats.\n\n-------- attributes --------\n\nborn\tdate\nlegs\tinteger\nweight\tdecimal\n"},
      // Links parents first.
      {{"links", "Animal"}, {"zoo:Animal declares 5 links", "zoo.alive", "zoo.weight"}, nullptr},
      {{"build", "zoo:Penguin", "name=Pingu", "legs=2.9", "alive=no", "habitat=geo:Place",
        "habitat.latitude=-77.5"},
       {},
       "zoo::Penguin\n  alive = \"0\"\n  name = \"Pingu\"\n  legs = \"2\"\n  habitat = "
       "geo::Place\n    latitude = \"-77.5\"\n"},
      {{"graph", "zoo:Penguin", "name=Pingu", "habitat.placeName=Ross Sea"},
       {"digraph \"zoo:Penguin\" {", "[label=\"zoo.name\"]", "[label=\"zoo.habitat [TODO.TODO]\"]"},
       nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.empty() ? "tour" : c.arguments[0]);
    const Result result = Run(c.arguments);
    EXPECT_EQ(0, result.exitCode) << result.err;
    EXPECT_EQ("", result.err);
    std::size_t at = 0;
    for (const std::string& part : c.parts) {
      at = result.out.find(part, at);
      EXPECT_NE(std::string::npos, at) << part << " in\n" << result.out;
    }
    if (c.whole != nullptr) {
      EXPECT_EQ(c.whole, result.out);
    }
  }
  for (const char* command :
       {"tour", "type", "classes", "describe", "links", "build", "save", "load", "dump", "graph"}) {
    const Result result = Run({command, "--help"});
    EXPECT_EQ(0, result.exitCode) << command;
    EXPECT_EQ(0u, result.out.find(std::string("usage: qax-host [options] ") + command)) << command;
  }
  EXPECT_EQ(0, Run({"--help"}).exitCode);
}

TEST_F(QaxHost, RefusesBadInputWithAClearMessageAndNonzeroExit) {
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
      {{"build", "Pengu"}, 1, "no class 'Pengu'"},
      {{"build", "Penguin", "colour=red"}, 1, "has no attribute 'colour'"},
      {{"build", "Penguin", "legs=four"}, 1, "'legs' needs a number, not 'four'"},
      {{"build", "Penguin", "alive=maybe"}, 1, "'alive' needs true or false"},
      {{"build", "Penguin", "ring=ff"}, 1, "takes no value"},
      {{"build", "Penguin", "name"}, 1, "expected attribute=value"},
      {{"build", "Penguin", "name.first=x"}, 1, "'name' is not an item"},
      {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
      {{"links"}, 2, "links takes one class name"},
      {{"--ontology"}, 2, "--ontology needs a value"},
      {{"classes", "--ontology", "/nonexistent/x.ttl"}, 1, "x.ttl"},
      {{"type", "--module", "/nonexistent/M.so"}, 1, "/nonexistent/M.so"},
      {{"graph", "Penguin", "--format", "gif"}, 2, "--format is dot, svg or png"},
  };
  for (const Case& c : cases) {
    const Result result = Run(c.arguments);
    EXPECT_EQ(c.exitCode, result.exitCode) << c.arguments[0] << ": " << result.err;
    EXPECT_NE(std::string::npos, result.err.find(c.message)) << result.err;
    EXPECT_EQ(0u, result.err.find("qax-host: ")) << result.err;
  }
}

TEST_F(QaxHost, AnAmbiguousBareClassNameListsTheCandidates) {
  const std::string ontology = Path("two.ttl");
  WriteFile(ontology,
            "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
            "<http://a.example/ns#Thing> a owl:Class .\n"
            "<http://b.example/ns#Thing> a owl:Class .\n");
  const Result result = Run({"describe", "Thing", "--ontology", ontology});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_NE(std::string::npos, result.err.find("ambiguous"));
  EXPECT_NE(std::string::npos, result.err.find("<http://a.example/ns#Thing>"));
  EXPECT_NE(std::string::npos, result.err.find("<http://b.example/ns#Thing>"));
}

TEST_F(QaxHost, SavedFilesLoadBackDumpDecodedAndDraw) {
  const std::string file = SavePenguin();
  const Result loaded = Run({"load", file});
  EXPECT_EQ(0, loaded.exitCode) << loaded.err;
  EXPECT_NE(std::string::npos, loaded.out.find("group \"qax-host\": 7 channels"));
  EXPECT_NE(std::string::npos, loaded.out.find("#2 Text \"name\" \"Pingu\""));
  EXPECT_NE(std::string::npos,
            loaded.out.find("item built by #0:\nzoo::Penguin\n  alive = \"1\"\n  name = "
                            "\"Pingu\"\n  legs = \"2\"\n  weight = \"4.5\"\n  habitat = "
                            "geo::Place\n    placeName = \"Ross Sea\"\n"));
  EXPECT_EQ("", loaded.err);

  const Result dump = Run({"dump", file});
  EXPECT_EQ(0, dump.exitCode) << dump.err;
  for (const char* line :
       {"QAXOntologyItem {6B9BDE34-8AC5-11DF-94AA-11F5DED72085}",
        "CID               30  \"http://example.org/zoo#Penguin\"",
        "MODE               4  4294967295 (no mode)", "CHILDSIZE          4  8"}) {
    EXPECT_NE(std::string::npos, dump.out.find(line)) << line;
  }

  const std::string dot = Path("g.dot");
  const Result graph = Run({"graph", "--file", file, "--output", dot});
  EXPECT_EQ(0, graph.exitCode) << graph.err;
  EXPECT_NE(std::string::npos, ReadFile(dot).find("c0 -> c2 [label=\"zoo.name\"]"));
}

TEST_F(QaxHost, EveryTruncationOfAFileIsRefusedByLoadAndDump) {
  const std::string file = SavePenguin();
  const std::string bytes = ReadFile(file);
  ASSERT_GT(bytes.size(), 100u);
  const std::string cut = Path("cut.grp");
  // Every length would take long as separate processes; a spread of cuts
  // through header, sections and links covers each part of the layout.
  for (std::size_t length = 0; length < bytes.size(); length += 1 + length / 16) {
    WriteFile(cut, bytes.substr(0, length));
    for (const char* command : {"load", "dump"}) {
      const Result result = Run({command, cut});
      EXPECT_EQ(1, result.exitCode) << command << " at " << length << ": " << result.err;
      EXPECT_NE(std::string::npos, result.err.find(cut)) << result.err;
    }
  }
}

TEST_F(QaxHost, CorruptedBytesNameTheOffsetAndNeverCrash) {
  const std::string file = SavePenguin();
  const std::string bytes = ReadFile(file);
  const std::string bad = Path("bad.grp");
  for (std::size_t at = 0; at < bytes.size(); at += 7) {
    std::string corrupted = bytes;
    corrupted[at] = static_cast<char>(corrupted[at] ^ 0x5A);
    WriteFile(bad, corrupted);
    const Result result = Run({"load", bad});
    EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1)
        << "byte " << at << ": " << result.err;
    // A corrupted structure names the file; a corrupted class handle loads
    // and then names the class the ontology does not have.
    if (result.exitCode == 1) {
      EXPECT_TRUE(result.err.find(bad) != std::string::npos ||
                  result.err.find("builds no item") != std::string::npos)
          << result.err;
    }
  }
  std::string wrongMagic = bytes;
  wrongMagic[0] = 'X';
  WriteFile(bad, wrongMagic);
  const Result result = Run({"load", bad});
  EXPECT_EQ(1, result.exitCode);
  EXPECT_NE(std::string::npos, result.err.find("byte 0")) << result.err;
}

TEST_F(QaxHost, AFailedSaveLeavesTheExistingFileAlone) {
  const std::string file = SavePenguin();
  const std::string before = ReadFile(file);
  const Result failed = Run({"save", "zoo:Penguin", file, "legs=many"});
  EXPECT_EQ(1, failed.exitCode);
  EXPECT_EQ(before, ReadFile(file));
  const Result noFolder = Run({"save", "zoo:Penguin", Path("missing/dir/x.grp")});
  EXPECT_EQ(1, noFolder.exitCode);
  EXPECT_NE(std::string::npos, noFolder.err.find("missing/dir/x.grp")) << noFolder.err;
}

}  // namespace
