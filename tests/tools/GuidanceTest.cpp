// What qax-host tells a new user who types what new users type: a nested
// item in a vocabulary of several namespaces, a save without its file, a
// class whose attributes are all inherited, names typed wrong, a file whose
// content is in another syntax than its name says, how much it says
// (--quiet, --verbose, a vocabulary's warnings in a line), -V, export's
// --subject and check's names for nested items. One table of command lines,
// run in order in one folder as a user runs them (against schema.org as the
// fetched vocabularies hold it), each with the exact exit code, standard
// error and standard output it gives.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/support/HostFolder.h"
#include "tools/qax-host/NearestNames.h"

namespace {

using qaxoi::test::ReadFile;

bool Exists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

std::string VocabularyFolder() {
  const char* env = std::getenv("QAX_VOCABULARY_DIR");
  return env != nullptr ? env : QAX_VOCABULARY_DIR;
}

// How a row's standard output is compared.
enum class Shown {
  kWhole,     // byte for byte
  kSections,  // the "--------" headings of describe, each with its count of lines
  kJson,      // the JSON document on one line, its members in their order
};

std::string AsShown(const std::string& out, Shown shown) {
  if (shown == Shown::kJson) return nlohmann::ordered_json::parse(out).dump();
  if (shown == Shown::kWhole) return out;
  std::string sections;
  std::string heading;
  int lines = 0;
  for (std::size_t at = 0; at < out.size();) {
    const std::size_t end = out.find('\n', at);
    const std::string line = out.substr(at, end - at);
    at = end == std::string::npos ? out.size() : end + 1;
    if (line.compare(0, 8, "--------") == 0) {
      if (!heading.empty()) sections += heading + " " + std::to_string(lines) + "\n";
      heading = line;
      lines = 0;
    } else if (!heading.empty() && !line.empty()) {
      ++lines;
    }
  }
  return sections + heading + " " + std::to_string(lines) + "\n";
}

using Guidance = qaxoi::test::HostFolder;

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

// What loading each vocabulary says on standard error first.
const std::string kSchemaWarning =
    "qax-host: warning: schema.nq: 1 property has no domain and no restriction, so no class has "
    "it as an attribute (<http://schema.org/interactionCount>)\n";
const std::string kBothWarning =
    "qax-host: warning: both.nq: 4 properties have no domain and no restriction, so no class has "
    "them as attributes (for example <http://schema.org/interactionCount>, "
    "<https://gs1.org/voc/defaultLink>, <https://gs1.org/voc/defaultLink%2A>)\n";
// Two warnings, said in one line.
const std::string kTutorialWarnings =
    "qax-host: warning: tutorial.ttl: 2 warnings while loading it (--verbose shows them, --quiet "
    "hides this line)\n";

TEST_F(Guidance, NewUsersCommandLinesGetWhatTheyMeantOrASuggestion) {
  const std::string folder = VocabularyFolder();
  ASSERT_TRUE(Exists(folder + "/schema.nq"))
      << folder << " lacks schema.nq: run scripts/fetch-vocabularies.sh from the repository "
      << "root (it needs npm), or point QAX_VOCABULARY_DIR at the vocabularies";
  ASSERT_EQ(0, ::symlink((folder + "/schema.nq").c_str(), Path("schema.nq").c_str()));
  ASSERT_EQ(0, ::symlink(QAX_TEST_DATA_DIR "/tutorial.ttl", Path("tutorial.ttl").c_str()));
  // schema.org with GS1, which has a ContactPoint of its own.
  std::ofstream(Path("both.nq"), std::ios::binary)
      << ReadFile(folder + "/schema.nq") << ReadFile(folder + "/gs1.nq");
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
  ASSERT_EQ(0, RunLine("-q save zoo:Penguin single.grp").exitCode);
  ASSERT_EQ(0, RunLine("-q save zoo:Penguin named.grp name=Pingu").exitCode);
  Write("joined.grp", JoinedGroups(Read("named.grp"), Read("single.grp")));
  const std::string version = RunLine("--version").out;
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
    std::string line;  // the arguments, separated by blanks
    int exitCode;
    std::string err;
    std::string out;
    Shown shown = Shown::kWhole;
  } rows[] = {
      // A nested item's class is its attribute's range, by IRI.
      {"--ontology both.nq build schema:Restaurant contactPoint.telephone=99", 0, kBothWarning,
       "schema:Restaurant\n  contactPoint = schema:ContactPoint\n    telephone = \"99\"\n"},
      {"--ontology both.nq build schema:Restaurant contactPoint=schema:PostalAddress "
       "contactPoint.telephone=99",
       0, kBothWarning,
       "schema:Restaurant\n  contactPoint = schema:PostalAddress\n    telephone = \"99\"\n"},
      {"--ontology both.nq build schema:Restaurant contactPoint=schema:Restaurant", 1,
       kBothWarning +
           "qax-host: attribute 'contactPoint' takes a schema:ContactPoint or a subclass of it, "
           "not schema:Restaurant\n",
       ""},
      // Any class of schema:rangeIncludes, not only the one that names the type.
      {"--ontology schema.nq build schema:Book author=schema:Person author.name=Ann", 0,
       kSchemaWarning, "schema:Book\n  author = schema:Person\n    name = \"Ann\"\n"},
      {"--ontology schema.nq build schema:Book author=schema:Place", 1,
       kSchemaWarning +
           "qax-host: attribute 'author' takes a schema:Organization or a schema:Person, or a "
           "subclass of one of them, not schema:Place\n",
       ""},
      // A value where the file to write goes.
      {"--ontology schema.nq save schema:Restaurant name=X", 2,
       "qax-host: save: 'name=X' looks like ATTRIBUTE=VALUE, not the FILE to write; did you mean "
       "'save schema:Restaurant FILE name=X'? (for a file of that name, give './name=X') (see: "
       "qax-host --help)\n",
       ""},
      {"--ontology schema.nq export schema:Restaurant -o name=X", 2,
       "qax-host: export: --output 'name=X' looks like ATTRIBUTE=VALUE, not the FILE to write; did "
       "you mean 'export schema:Restaurant name=X --output FILE'? (for a file of that name, give "
       "'./name=X') (see: qax-host --help)\n",
       ""},
      // describe: the module's text, then what the class inherits.
      {"--ontology schema.nq describe schema:Restaurant", 0, kSchemaWarning,
       "-------- attributes -------- 0\n"
       "-------- label and superclasses -------- 2\n"
       "-------- inherited from schema:Thing -------- 12\n"
       "-------- inherited from schema:Organization -------- 66\n"
       "-------- inherited from schema:Place -------- 32\n"
       "-------- inherited from schema:LocalBusiness -------- 5\n"
       "-------- inherited from schema:FoodEstablishment -------- 5\n"
       "-------- references -------- 18\n",
       Shown::kSections},
      {"--ontology tutorial.ttl describe pizza:American", 0, kTutorialWarnings,
       "Class:\tpizza.American\nParent:\tpizza.NamedPizza\nAbstract:\tno\nDoc:\n\n"
       "-------- attributes --------\n\nhasCountryOfOrigin\n\n"
       "-------- label and superclasses --------\n\n"
       "Label:\tAmerican\nSuperclasses:\tpizza:NamedPizza\n\n"
       "-------- inherited from pizza:Food --------\n\nhasIngredient\tFood\n\n"
       "-------- inherited from pizza:Pizza --------\n\n"
       "hasBase\tPizzaBase\nhasDiameter\tdecimal\nhasTopping\tPizzaTopping\nnickname\tstring\n\n"
       "-------- inherited from pizza:NamedPizza --------\n\nhasCalorificContentValue\tinteger\n\n"
       "-------- references --------\n\nhasCountryOfOrigin\tone of pizza:America, pizza:Italy\n"},
      {"--ontology tutorial.ttl --json describe pizza:American", 0, kTutorialWarnings,
       R"({"class":"pizza:American","iri":"http://example.org/tutorial/pizza.owl#American",)"
       R"("qualifiedName":"pizza::American","parent":"pizza:NamedPizza",)"
       R"("superclasses":["pizza:NamedPizza"],"abstract":false,"label":"American",)"
       R"("labels":{"en":"American","pt":"Americana"},"docs":{},"doc":"",)"
       R"("attributes":[{"name":"hasCountryOfOrigin",)"
       R"("iri":"http://example.org/tutorial/pizza.owl#hasCountryOfOrigin","type":"",)"
       R"("kind":"text","link":6,"linkType":"Text"}],)"
       R"("inherited":[{"class":"pizza:Food","attributes":[{"name":"hasIngredient",)"
       R"("iri":"http://example.org/tutorial/pizza.owl#hasIngredient","type":"Food",)"
       R"("kind":"complex","link":0,"linkType":"QAXOntologyItem"}]},)"
       R"({"class":"pizza:Pizza","attributes":[{"name":"hasBase",)"
       R"("iri":"http://example.org/tutorial/pizza.owl#hasBase","type":"PizzaBase",)"
       R"("kind":"complex","link":1,"linkType":"QAXOntologyItem"},{"name":"hasDiameter",)"
       R"("iri":"http://example.org/tutorial/pizza.owl#hasDiameter","type":"decimal",)"
       R"("kind":"real","link":2,"linkType":"Value"},{"name":"hasTopping",)"
       R"("iri":"http://example.org/tutorial/pizza.owl#hasTopping","type":"PizzaTopping",)"
       R"("kind":"complex","link":3,"linkType":"QAXOntologyItem"},{"name":"nickname",)"
       R"("iri":"http://example.org/tutorial/pizza.owl#nickname","type":"string",)"
       R"("kind":"text","link":4,"linkType":"Text"}]},)"
       R"({"class":"pizza:NamedPizza","attributes":[{"name":"hasCalorificContentValue",)"
       R"("iri":"http://example.org/tutorial/pizza.owl#hasCalorificContentValue",)"
       R"("type":"integer","kind":"integer","link":5,"linkType":"Value"}]}],)"
       R"("description":"Class:\tpizza.American\nParent:\tpizza.NamedPizza\nAbstract:\tno\n)"
       R"(Doc:\t\n\n-------- attributes --------\n\nhasCountryOfOrigin\t\n",)"
       R"("references":[{"attribute":"hasCountryOfOrigin",)"
       R"("values":["pizza:America","pizza:Italy"]}]})",
       Shown::kJson},
      // Names typed wrong: the nearest, by short or prefixed name, any case.
      {"--ontology schema.nq describe schema:Restaraunt", 1,
       kSchemaWarning + "qax-host: no class 'schema:Restaraunt' in the ontology; did you mean "
                        "schema:Restaurant? (see: qax-host classes)\n",
       ""},
      {"--ontology schema.nq build restaurant", 1,
       kSchemaWarning +
           "qax-host: no class 'restaurant' in the ontology; did you mean schema:Restaurant? "
           "(see: qax-host classes)\n",
       ""},
      {"--ontology schema.nq build schema:Restaurant contactPont=1", 1,
       kSchemaWarning +
           "qax-host: class schema:Restaurant has no attribute 'contactPont'; did you mean "
           "contactPoint or contactPoints? (see: qax-host describe schema:Restaurant)\n",
       ""},
      {"--ontology schema.nq build schema:Restaurant contactPoint.telefone=1", 1,
       kSchemaWarning +
           "qax-host: class schema:ContactPoint has no attribute 'telefone'; did you mean "
           "telephone? (see: qax-host describe schema:ContactPoint)\n",
       ""},
      {"build zoo:Penguin nmae=Pingu", 1,
       "qax-host: class zoo:Penguin has no attribute 'nmae'; did you mean name? (attributes: "
       "alive, name, born, legs, weight, habitat, ring, species)\n",
       ""},
      {"describe xyzzy", 1, "qax-host: no class 'xyzzy' in the ontology (see: qax-host classes)\n",
       ""},
      {"biuld zoo:Penguin", 2,
       "qax-host: unknown command 'biuld'; did you mean build? (see: qax-host --help)\n", ""},
      // A file in another syntax than its name (or --syntax) says: the
      // parser's message, and what the content looks like.
      {"--ontology xml.ttl classes", 1,
       "qax-host: xml.ttl:1:7: invalid IRI character (escape %20); its content looks like "
       "RDF/XML, but its name says Turtle\n",
       ""},
      {"--ontology xml.ttl --syntax rdfxml classes", 0, "",
       "library shop (1 class)\n  shop:Order                   <http://e.org/shop#Order>\n"},
      {"--ontology turtle.nt classes", 1,
       "qax-host: turtle.nt:1:1: syntax does not support directives; its content looks like "
       "Turtle, but its name says N-Triples\n",
       ""},
      {"--ontology jsonld.ttl classes", 1,
       "qax-host: jsonld.ttl:1:1: syntax does not support graphs; its content looks like JSON-LD, "
       "which is not read\n",
       ""},
      {"validate --shapes shapes.ttl turtle.nt", 2,
       "qax-host: turtle.nt:1:1: syntax does not support directives; its content looks like "
       "Turtle, but its name says N-Triples\n",
       ""},
      // -V is --version, and like it takes no other argument.
      {"-V", 0, "", version},
      {"-V classes", 2,
       "qax-host: --version takes no other arguments, not 'classes' (see: qax-host --help)\n", ""},
      // A vocabulary's warnings: counted in one line, in full with
      // --verbose, none with --quiet; a single one is shown as it is.
      {"--ontology two.ttl classes", 0,
       "qax-host: warning: two.ttl: 2 warnings while loading it (--verbose shows them, --quiet "
       "hides this line)\n",
       shopClasses},
      {"--ontology two.ttl classes", 0,
       "qax-host: warning: two.ttl: 2 warnings while loading it (--verbose shows them, --quiet "
       "hides this line)\n",
       shopClasses},
      {"--verbose --ontology two.ttl classes", 0, union_ + domainless, shopClasses},
      {"classes --ontology=two.ttl -q", 0, "", shopClasses},
      {"--quiet --ontology two.ttl classes", 0, "", shopClasses},
      {"--ontology one.ttl describe shop:Order", 0,
       "qax-host: warning: one.ttl: 1 property has no domain and no restriction, so no class has "
       "it as an attribute (<http://e.org/shop#note>)\n",
       "Class:\tshop.Order\nParent:\t.\nAbstract:\tno\nDoc:\n\n-------- attributes --------\n\n"},
      // check names a nested item by its path from its root channel, as
      // values are given: the first value bare, the others numbered.
      {"-q save zoo:Penguin places.grp name=Pingu habitat.latitude=-77.5 habitat[2].placeName=Ross "
       "habitat[3].latitude=1",
       0, "", ""},
      {"check places.grp --shapes named.ttl", 1, "",
       "Violation: channel:0.habitat geo:placeName: fewer than 1 values\n"
       "Violation: channel:0.habitat[3] geo:placeName: fewer than 1 values\n"
       "does not conform: 2 results\n"},
      // export --subject: the item's IRI, absolute, for one item only.
      {"export zoo:Penguin name=Pingu --subject http://example.org/pingu --format ntriples", 0, "",
       "<http://example.org/pingu> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
       "<http://example.org/zoo#Penguin> .\n"
       "<http://example.org/pingu> <http://example.org/zoo#name> \"Pingu\" .\n"},
      {"export --file single.grp --subject=<urn:x:1> --format ntriples", 0, "",
       "<urn:x:1> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
       "<http://example.org/zoo#Penguin> .\n"},
      {"export zoo:Penguin name=Pingu --subject pingu", 2,
       "qax-host: --subject: 'pingu' is no absolute IRI; give a scheme and what follows it, such "
       "as http://example.org/items/1 or urn:uuid:... (see: qax-host --help)\n",
       ""},
      {"export zoo:Penguin --subject http://e.org/a|b", 2,
       "qax-host: --subject: 'http://e.org/a|b' is no absolute IRI; give a scheme and what "
       "follows it, such as http://example.org/items/1 or urn:uuid:... (see: qax-host --help)\n",
       ""},
      {"export zoo:Penguin --subject zoo:Pingu", 2,
       "qax-host: --subject: 'zoo:Pingu' would be an IRI of the scheme 'zoo', which is the name "
       "of a library; give the whole IRI, such as http://example.org/zoo#Pingu (see: qax-host "
       "--help)\n",
       ""},
      {"export --file joined.grp --subject urn:x:1", 1,
       "qax-host: --subject names one item, but joined.grp holds 2 items; export it without "
       "--subject, or save each item as a group of its own\n",
       ""},
      {"build zoo:Penguin --subject urn:x:1", 2,
       "qax-host: --subject is no option of build (export takes it) (see: qax-host --help)\n", ""},
      // --quiet leaves errors alone, and hides notes and confirmations.
      {"-q save zoo:Penguin p.grp name=Pingu weight=123456.789", 0, "", ""},
      {"save zoo:Penguin p.grp name=Pingu", 0, "qax-host: saved 2 channels to p.grp\n", ""},
      {"-q load missing.grp", 1, "qax-host: cannot read 'missing.grp': No such file or directory\n",
       ""},
      {"-q build zoo:Penguin legs=2.5", 1,
       "qax-host: attribute 'legs' needs a whole number from -16777216 to 16777216 (what the "
       "float channel holds exactly), not '2.5'\n",
       ""},
      {"--quiet --verbose classes", 2,
       "qax-host: --quiet and --verbose ask for less and for more; give one of them (see: "
       "qax-host --help)\n",
       ""},
      {"--quiet=yes classes", 2,
       "qax-host: --quiet takes no value, not 'yes' (see: qax-host --help)\n", ""},
  };
  for (const auto& row : rows) {
    const qaxoi::test::HostResult result = RunLine(row.line);
    EXPECT_EQ(row.exitCode, result.exitCode) << row.line;
    EXPECT_EQ(row.err, result.err) << row.line;
    EXPECT_EQ(row.out, AsShown(result.out, row.shown)) << row.line;
  }
  // The refused save and export wrote nothing.
  EXPECT_FALSE(Exists(Path("name=X")));
}

// The edits between two names, as the suggestions count them: a swap of
// neighbours is one, case is none, and past the limit the answer is the
// limit plus one however far the names are.
TEST(NearestNames, CountsEditsWithinTheLimit) {
  using qaxoi::qax_host::NearestNames;
  const std::string longName(NearestNames::kMaxComparedBytes + 1, 'a');
  const struct {
    std::string a, b;
    std::size_t limit, distance;
  } rows[] = {
      {"build", "build", 3, 0},
      {"BUILD", "build", 3, 0},
      {"biuld", "build", 3, 1},
      {"restaraunt", "Restaurant", 3, 2},
      {"contactPont", "contactPoints", 3, 2},
      {"", "abc", 3, 3},
      {"abc", "", 2, 3},
      {"kitten", "sitting", 3, 3},
      {"kitten", "sitting", 2, 3},
      {"abcdef", "ab", 3, 4},
      {longName, longName, 3, 4},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.distance, NearestNames::Distance(row.a, row.b, row.limit))
        << row.a << " " << row.b;
  }
  // At most three, nearest first, each once.
  NearestNames nearest("tag");
  for (const char* name : {"tags", "tap", "tag", "Tag", "rag", "bag", "tags"}) {
    nearest.Offer(name, name);
  }
  EXPECT_EQ(std::vector<std::string>({"Tag", "tag", "bag"}), nearest.Nearest());
}

}  // namespace
