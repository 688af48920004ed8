// qax-host as a new user meets it: how much it says (--quiet, --verbose, a
// vocabulary's warnings in a line), -V, export's --subject, check's names for
// nested items, and a file whose content is in another syntax than its name
// says. One table of command lines, run in order in one folder, each with
// the exact exit code, standard output and standard error it gives.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Two warnings: a union the loader ignores, a property no class has.
constexpr char kTwoWarnings[] = R"(@prefix owl: <http://www.w3.org/2002/07/owl#> .
@prefix ex: <http://e.org/shop#> .
ex:Order a owl:Class .
ex:Item a owl:Class ; owl:equivalentClass [ owl:unionOf ( ex:Order ex:Gift ) ] .
ex:note a owl:DatatypeProperty .
)";

// One warning: a property no class has.
constexpr char kOneWarning[] = R"(@prefix owl: <http://www.w3.org/2002/07/owl#> .
@prefix ex: <http://e.org/shop#> .
ex:Order a owl:Class .
ex:note a owl:DatatypeProperty .
)";

// The class Order in RDF/XML, and as Turtle.
constexpr char kRdfXml[] = R"(<?xml version="1.0"?>
<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#">
  <rdf:Description rdf:about="http://e.org/shop#Order">
    <rdf:type rdf:resource="http://www.w3.org/2002/07/owl#Class"/>
  </rdf:Description>
</rdf:RDF>
)";
constexpr char kTurtle[] = R"(@prefix owl: <http://www.w3.org/2002/07/owl#> .
<http://e.org/shop#Order> a owl:Class .
)";

// Reads a little-endian 32-bit number at `at`.
std::uint32_t Number(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
  return value;
}

std::string NumberBytes(std::uint32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
  return bytes;
}

// A group file of format version 1 (no lengths or checksums) holding the
// channels of `first` and then those of `second`, both saved as version 2,
// when no channel of `second` links another: two items no channel links.
std::string JoinedGroups(const std::string& first, const std::string& second) {
  constexpr std::size_t kMagic = 8, kField = 4;
  // Version 2: magic, version, header length h, h bytes ending in the
  // channel count, checksum; then per channel its length e, e bytes, checksum.
  const auto split = [&](const std::string& file, std::string* header,
                         std::vector<std::string>* channels) {
    const std::size_t h = Number(file, kMagic + kField);
    *header = file.substr(kMagic + 2 * kField, h);
    for (std::size_t at = kMagic + 3 * kField + h; at < file.size();) {
      const std::size_t e = Number(file, at);
      channels->push_back(file.substr(at + kField, e));
      at += 2 * kField + e;
    }
  };
  std::string header, ignored;
  std::vector<std::string> channels;
  split(first, &header, &channels);
  split(second, &ignored, &channels);
  header.replace(header.size() - kField, kField, NumberBytes(channels.size()));
  std::string joined = first.substr(0, kMagic) + NumberBytes(1) + header;
  for (const std::string& channel : channels) joined += channel;
  return joined;
}

class GuidanceOptions : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/qax-host-guidance-XXXXXX";
    ASSERT_NE(nullptr, ::mkdtemp(folder));
    dir_ = folder;
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) ::unsetenv(name);
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  struct Result {
    int exitCode;
    std::string out, err;
  };

  // Runs qax-host in the test's folder with `line`'s words (separated by
  // single blanks, none holding a quote) as its arguments.
  Result Run(const std::string& line) {
    std::string command = "cd '" + dir_ + "' && '" + std::getenv("QAX_BIN_DIR") + "/qax-host'";
    for (std::size_t at = 0; at < line.size();) {
      const std::size_t end = std::min(line.find(' ', at), line.size());
      command += " '" + line.substr(at, end - at) + "'";
      at = end + 1;
    }
    const std::string out = dir_ + "/.out", err = dir_ + "/.err";
    const int status = std::system((command + " </dev/null >" + out + " 2>" + err).c_str());
    return Result{WEXITSTATUS(status), ReadFile(out), ReadFile(err)};
  }

  std::string Read(const std::string& name) const { return ReadFile(dir_ + "/" + name); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ + "/" + name, std::ios::binary | std::ios::trunc) << bytes;
  }

  std::string dir_;
};

TEST_F(GuidanceOptions, EachCommandLineGivesItsExactOutputAndMessages) {
  Write("two.ttl", kTwoWarnings);
  Write("one.ttl", kOneWarning);
  Write("xml.ttl", kRdfXml);
  Write("turtle.nt", kTurtle);
  Write("jsonld.ttl", "{\"@context\": {}, \"@id\": \"http://e.org/shop#Order\"}\n");
  Write("shapes.ttl", "");
  // Every place is named.
  Write("named.ttl",
        "@prefix sh: <http://www.w3.org/ns/shacl#> .\n@prefix geo: <http://example.org/geo#> .\n"
        "geo:Named a sh:NodeShape ; sh:targetClass geo:Place ;\n"
        "  sh:property [ sh:path geo:placeName ; sh:minCount 1 ] .\n");
  ASSERT_EQ(0, Run("-q save zoo:Penguin single.grp").exitCode);
  ASSERT_EQ(0, Run("-q save zoo:Penguin named.grp name=Pingu").exitCode);
  Write("joined.grp", JoinedGroups(Read("named.grp"), Read("single.grp")));
  const std::string version = Run("--version").out;
  ASSERT_NE("", version);
  const std::string shopClasses =
      "library shop (2 classes)\n"
      "  shop:Item                    <http://e.org/shop#Item>\n"
      "  shop:Order                   <http://e.org/shop#Order>\n";
  const std::string union_ =
      "qax-host: warning: two.ttl: ignored 1 owl:unionOf class expression in rdfs:subClassOf and "
      "owl:equivalentClass (for example in the owl:equivalentClass of <http://e.org/shop#Item>)\n";
  const std::string domainless =
      "qax-host: warning: two.ttl: 1 property has no domain and no restriction, so no class has "
      "it as an attribute (<http://e.org/shop#note>)\n";

  const struct {
    std::string line;
    int exitCode;
    std::string out;
    std::string err;
  } rows[] = {
      // A file in another syntax than its name (or --syntax) says: the
      // parser's message, and what the content looks like.
      {"--ontology xml.ttl classes", 1, "",
       "qax-host: xml.ttl:1:7: invalid IRI character (escape %20); its content looks like "
       "RDF/XML, but its name says Turtle\n"},
      {"--ontology xml.ttl --syntax rdfxml classes", 0,
       "library shop (1 class)\n  shop:Order                   <http://e.org/shop#Order>\n", ""},
      {"--ontology turtle.nt classes", 1, "",
       "qax-host: turtle.nt:1:1: syntax does not support directives; its content looks like "
       "Turtle, but its name says N-Triples\n"},
      {"--ontology jsonld.ttl classes", 1, "",
       "qax-host: jsonld.ttl:1:1: syntax does not support graphs; its content looks like JSON-LD, "
       "which is not read\n"},
      {"validate --shapes shapes.ttl turtle.nt", 2, "",
       "qax-host: turtle.nt:1:1: syntax does not support directives; its content looks like "
       "Turtle, but its name says N-Triples\n"},
      // -V is --version, and like it takes no other argument.
      {"-V", 0, version, ""},
      {"-V classes", 2, "",
       "qax-host: --version takes no other arguments, not 'classes' (see: qax-host --help)\n"},
      // A vocabulary's warnings: counted in one line, in full with
      // --verbose, none with --quiet; a single one is shown as it is.
      {"--ontology two.ttl classes", 0, shopClasses,
       "qax-host: warning: two.ttl: 2 warnings while loading it (--verbose shows them, --quiet "
       "hides this line)\n"},
      {"--ontology two.ttl classes", 0, shopClasses,
       "qax-host: warning: two.ttl: 2 warnings while loading it (--verbose shows them, --quiet "
       "hides this line)\n"},
      {"--verbose --ontology two.ttl classes", 0, shopClasses, union_ + domainless},
      {"classes --ontology=two.ttl -q", 0, shopClasses, ""},
      {"--quiet --ontology two.ttl classes", 0, shopClasses, ""},
      {"--ontology one.ttl describe shop:Order", 0,
       "Class:\tshop.Order\nParent:\t.\nAbstract:\tno\nDoc:\n\n-------- attributes --------\n\n",
       "qax-host: warning: one.ttl: 1 property has no domain and no restriction, so no class has "
       "it as an attribute (<http://e.org/shop#note>)\n"},
      // check names a nested item by its path from its root channel, as
      // values are given: the first value bare, the others numbered.
      {"-q save zoo:Penguin places.grp name=Pingu habitat.latitude=-77.5 habitat[2].placeName=Ross "
       "habitat[3].latitude=1",
       0, "", ""},
      {"check places.grp --shapes named.ttl", 1,
       "Violation: channel:0.habitat geo:placeName: fewer than 1 values\n"
       "Violation: channel:0.habitat[3] geo:placeName: fewer than 1 values\n"
       "does not conform: 2 results\n",
       ""},
      // export --subject: the item's IRI, absolute, for one item only.
      {"export zoo:Penguin name=Pingu --subject http://example.org/pingu --format ntriples", 0,
       "<http://example.org/pingu> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
       "<http://example.org/zoo#Penguin> .\n"
       "<http://example.org/pingu> <http://example.org/zoo#name> \"Pingu\" .\n",
       ""},
      {"export --file single.grp --subject=<urn:x:1> --format ntriples", 0,
       "<urn:x:1> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
       "<http://example.org/zoo#Penguin> .\n",
       ""},
      {"export zoo:Penguin name=Pingu --subject pingu", 2, "",
       "qax-host: --subject: 'pingu' is no absolute IRI; give a scheme and what follows it, such "
       "as http://example.org/items/1 or urn:uuid:... (see: qax-host --help)\n"},
      {"export zoo:Penguin --subject http://e.org/a|b", 2, "",
       "qax-host: --subject: 'http://e.org/a|b' is no absolute IRI; give a scheme and what "
       "follows it, such as http://example.org/items/1 or urn:uuid:... (see: qax-host --help)\n"},
      {"export zoo:Penguin --subject zoo:Pingu", 2, "",
       "qax-host: --subject: 'zoo:Pingu' would be an IRI of the scheme 'zoo', which is the name "
       "of a library; give the whole IRI, such as http://example.org/zoo#Pingu (see: qax-host "
       "--help)\n"},
      {"export --file joined.grp --subject urn:x:1", 1, "",
       "qax-host: --subject names one item, but joined.grp holds 2 items; export it without "
       "--subject, or save each item as a group of its own\n"},
      {"build zoo:Penguin --subject urn:x:1", 2, "",
       "qax-host: --subject is no option of build (export takes it) (see: qax-host --help)\n"},
      // --quiet leaves errors alone, and hides notes and confirmations.
      {"-q save zoo:Penguin p.grp name=Pingu weight=123456.789", 0, "", ""},
      {"save zoo:Penguin p.grp name=Pingu", 0, "", "qax-host: saved 2 channels to p.grp\n"},
      {"-q load missing.grp", 1, "",
       "qax-host: cannot read 'missing.grp': No such file or directory\n"},
      {"-q build zoo:Penguin legs=2.5", 1, "",
       "qax-host: attribute 'legs' needs a whole number from -16777216 to 16777216 (what the "
       "float channel holds exactly), not '2.5'\n"},
      {"--quiet --verbose classes", 2, "",
       "qax-host: --quiet and --verbose ask for less and for more; give one of them (see: "
       "qax-host --help)\n"},
      {"--quiet=yes classes", 2, "",
       "qax-host: --quiet takes no value, not 'yes' (see: qax-host --help)\n"},
  };
  for (const auto& row : rows) {
    const Result result = Run(row.line);
    EXPECT_EQ(row.exitCode, result.exitCode) << row.line << "\n" << result.err;
    EXPECT_EQ(row.out, result.out) << row.line;
    EXPECT_EQ(row.err, result.err) << row.line;
  }
}

}  // namespace
