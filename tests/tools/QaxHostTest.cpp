// qax-host run as a user runs it: commands, exit codes, output, and group
// files that are saved, loaded, truncated and corrupted.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

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
  // `input`, when given, is the file that standard input reads.
  Result Run(const std::vector<std::string>& arguments, const std::string& input = "/dev/null") {
    std::string command = std::string(std::getenv("QAX_BIN_DIR")) + "/qax-host <" + input;
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    const int status = std::system((command + " >" + Path("out") + " 2>" + Path("err")).c_str());
    return Result{WEXITSTATUS(status), ReadFile(Path("out")), ReadFile(Path("err"))};
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
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

}  // namespace
