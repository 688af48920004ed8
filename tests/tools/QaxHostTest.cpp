// qax-host run as a user runs it: commands, exit codes, output, and group
// files that are saved, loaded, truncated and corrupted.
#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "host/files/TemporaryName.h"
#include "tests/support/HostFolder.h"
#include "tests/support/ParsedRdf.h"

namespace {

using qaxoi::test::ReadFile;
using Result = qaxoi::test::HostResult;

class QaxHost : public qaxoi::test::HostFolder {
 protected:
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
  // Saves a penguin with a nested place, and answers the file's bytes.
  // values.ttl: an order whose status is one of two individuals, whose
  // seeAlso is any resource and whose year an xsd:gYear.
  void WriteValues() {
    Write("values.ttl",
          "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
          "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
          "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
          "@prefix shop: <http://e.org/shop#> .\n"
          "shop:Order a owl:Class .\n"
          "shop:Status a owl:Class ; owl:oneOf ( shop:Shipped shop:Open ) .\n"
          "shop:status a owl:ObjectProperty ; rdfs:domain shop:Order ; rdfs:range shop:Status .\n"
          "shop:seeAlso a owl:ObjectProperty ; rdfs:domain shop:Order .\n"
          "shop:year a owl:DatatypeProperty ; rdfs:domain shop:Order ; rdfs:range xsd:gYear .\n");
  }

  std::string SavePenguin() {
    const Result saved = Run({"save", "zoo:Penguin", Path("penguin.grp"), "name=Pingu",
                              "alive=true", "legs=2", "weight=4.5", "habitat.placeName=Ross Sea"});
    EXPECT_EQ(0, saved.exitCode) << saved.err;
    return ReadFile(Path("penguin.grp"));
  }

  // A shapes graph that wants one integer ex:age of every ex:Person, with its
  // own message, and data in which ex:bob breaks it ("ok.ttl" conforms).
  void WriteValidationFiles() {
    const std::string ex = "@prefix ex: <http://e.org/> .\n";
    Write("shapes.ttl", ex + "@prefix sh: <http://www.w3.org/ns/shacl#> .\n"
                             "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
                             "ex:PersonShape a sh:NodeShape ; sh:targetClass ex:Person ;\n"
                             "  sh:property [ sh:path ex:age ; sh:datatype xsd:integer ;\n"
                             "    sh:message \"age must be an integer \" ] .\n");
    Write("bad.ttl", ex + "ex:bob a ex:Person ; ex:age \"x\\n\" .\n");
    Write("ok.ttl", ex + "ex:ann a ex:Person ; ex:age 3 .\n");
    Write("broken.ttl", ex + "ex:ann a ex:Person ; ex:age .\n");
    Write("unshapely.ttl", ex + "ex:S a <http://www.w3.org/ns/shacl#NodeShape> ;\n"
                                "  <http://www.w3.org/ns/shacl#minLength> \"one\" .\n");
  }
};

TEST_F(QaxHost, CommandsShowTheirOutput) {
  Write(
      "pizza.ttl",
      "@prefix : <https://e.org/pizza.owl#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix food: <https://e.org/food#> .\n"
      "<https://e.org/pizza.owl> a owl:Ontology .\n"
      "food:Food a owl:Class .\n"
      ":Topping a owl:Class ; rdfs:subClassOf food:Food .\n"
      ":hasTopping a owl:ObjectProperty ; rdfs:label \"has topping\"@en, \"tem cobertura\"@pt .\n"
      ":hasBase a owl:ObjectProperty .\n"
      ":Margherita a owl:Class ; rdfs:subClassOf [ a owl:Restriction ;\n"
      "  owl:onProperty :hasTopping ; owl:someValuesFrom :Topping ] ;\n"
      "  rdfs:label \"Margherita\"@en, \"Marguerita\"@pt ;\n"
      "  rdfs:comment \"Tomato and cheese.\"@en, \"Tomate e queijo.\"@pt, \"Eine Pizza.\"@de .\n");
  const std::string pizza = Path("pizza.ttl");
  // The example of docs/vocabularies.md: a penguin is an animal and a
  // swimmer; and a keeper's partner is a swimmer.
  Write("zoo.ttl",
        "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
        "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
        "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
        "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
        "@prefix schema: <http://schema.org/> .\n@prefix ex: <http://example.org/zoo#> .\n"
        "ex:Animal a owl:Class . ex:Swimmer a owl:Class .\n"
        "ex:Keeper a owl:Class ; rdfs:subClassOf schema:Person .\n"
        "ex:Penguin a owl:Class ;\n"
        "  rdfs:subClassOf <http://other.org/birds#Bird>, ex:Animal, ex:Swimmer .\n"
        "ex:name a owl:DatatypeProperty ; rdfs:domain ex:Animal ; rdfs:range xsd:string .\n"
        "ex:born a owl:DatatypeProperty ; rdfs:domain ex:Animal ; rdfs:range xsd:date .\n"
        "ex:keeper a owl:ObjectProperty ; rdfs:domain ex:Animal ; rdfs:range ex:Keeper .\n"
        "ex:weight a owl:DatatypeProperty ; rdfs:domain ex:Animal ;\n"
        "  schema:rangeIncludes schema:Number, schema:QuantitativeValue .\n"
        "ex:flippers a rdf:Property ; schema:domainIncludes ex:Penguin, ex:Swimmer ;\n"
        "  rdfs:range xsd:nonNegativeInteger .\n"
        "ex:tagged a rdf:Property ; rdfs:domain ex:Penguin ; rdfs:range xsd:boolean .\n"
        "ex:partner a owl:ObjectProperty ; rdfs:domain ex:Keeper ; rdfs:range ex:Swimmer .\n");
  const std::string zoo = "--ontology " + Path("zoo.ttl") + " ";
  WriteValues();
  WriteValidationFiles();
  const std::string domainless =
      "qax-host: warning: " + pizza +
      ": 1 property has no domain and no restriction, so no class has it as an attribute "
      "(<https://e.org/pizza.owl#hasBase>)\n";
  const struct {
    std::string line;                // the arguments, separated by blanks
    std::vector<std::string> parts;  // in this order in the output
    std::string err;
    std::string env = "";  // the environment's variables for qax-host
  } cases[] = {
      {"", {"zoo:Penguin", "placeName = \"Ross Sea\""}, ""},  // the tour
      {"type",
       {"name       QAXOntologyItem\n", "type guid  {6B9BDE34-8AC5-11DF-94AA-11F5DED72085}\n"},
       ""},
      {"describe http://example.org/zoo#Animal",
       {"Class:\tzoo.Animal\nParent:\tzoo.Being\nAbstract:\tno\nDoc:\tA being that moves and "
        "eats.\n\n-------- attributes --------\n\nborn\tdate\nlegs\tinteger\nweight\tdecimal\n\n"
        "-------- label and superclasses --------\n\nSuperclasses:\tzoo:Being\n"},
       ""},
      // Every superclass: the parent's walk, then the other superclass's.
      {zoo + "links zoo:Penguin",
       {"0     0      Text             zoo.born\n",
        "1     1      QAXOntologyItem  zoo.keeper [TODO.TODO]\n",
        "2     2      Text             zoo.name\n", "3     3      Value            zoo.weight\n",
        "4     4      Value            zoo.flippers\n",
        "5     5      Value            zoo.tagged\n"},
       ""},
      {zoo + "describe zoo:Penguin",
       {"Parent:\tzoo.Animal\nAbstract:",
        "-------- attributes --------\n\nflippers\tnonNegativeInteger\ntagged\tboolean\n",
        "Superclasses:\tzoo:Animal, zoo:Swimmer\n"},
       ""},
      {zoo + "--json describe zoo:Penguin",
       {"\"superclasses\": [\n    \"zoo:Animal\",\n    \"zoo:Swimmer\"\n  ]"},
       ""},
      {zoo + "build zoo:Keeper partner=zoo:Penguin partner.flippers=2",
       {"zoo:Keeper\n  partner = zoo:Penguin\n    flippers = \"2\"\n"},
       ""},
      {"build zoo:Penguin name=Pingu legs=2 alive=no habitat=geo:Place habitat.latitude=-77.5",
       {"zoo:Penguin\n  alive = \"0\"\n  name = \"Pingu\"\n  legs = \"2\"\n  habitat = "
        "geo:Place\n    latitude = \"-77.5\"\n"},
       ""},
      {"classes", {"library geo (1 class)", "library zoo (3 classes)"}, ""},
      {"--ontology " + pizza + " links :Margherita",
       {"pizza:Margherita declares 1 link\n",
        "QAXOntologyItem  pizza.hasTopping [TODO.TODO]  \"has topping\"\n"},
       domainless},
      // Labels and docs in the languages asked for, by --lang or the
      // locale; the module's description takes the doc chosen.
      {"--ontology " + pizza + " --lang pt describe :Margherita",
       {"Class:\tpizza.Margherita\nParent:\t.\nAbstract:\tno\nDoc:\tTomate e queijo.\n",
        "\n-------- label and superclasses --------\n\nLabel:\tMarguerita\n"},
       domainless},
      {"--ontology " + pizza + " describe :Margherita",
       {"Doc:\tTomate e queijo.\n", "Label:\tMarguerita\n"},
       domainless,
       "LANG=pt_BR.UTF-8"},
      {"--ontology " + pizza + " describe :Margherita",
       {"Doc:\tEine Pizza.\n", "Label:\tMargherita\n"},
       domainless,
       "LANGUAGE=de:it LANG=pt_BR"},
      {"--ontology " + pizza + " describe :Margherita",
       {"Doc:\tTomato and cheese.\n", "Label:\tMargherita\n"},
       domainless,
       "LC_ALL=C LANG=pt"},
      {"--ontology " + pizza + " --lang=fr,pt links :Margherita",
       {"pizza.hasTopping [TODO.TODO]  \"tem cobertura\"\n"},
       domainless,
       "LANGUAGE=de"},
      {"--ontology " + pizza + " classes",
       {"  pizza:Margherita \"Marguerita\" <https://e.org/pizza.owl#Margherita>\n",
        "  pizza:Topping                <https://e.org/pizza.owl#Topping>  is a food:Food\n"},
       domainless,
       "LANGUAGE=pt:en"},
      {"--ontology " + pizza + " --lang pt --json describe :Margherita",
       {"\"label\": \"Marguerita\",\n  \"labels\": {\n    \"en\": \"Margherita\",\n    \"pt\": "
        "\"Marguerita\"\n  },\n  \"docs\": {\n    \"de\": \"Eine Pizza.\",\n    \"en\": "
        "\"Tomato and cheese.\",\n    \"pt\": \"Tomate e queijo.\"\n  },\n",
        "Doc:\\tTomate e queijo."},
       domainless},
      {"--ontology " + pizza + " describe <https://e.org/pizza.owl#Topping>",
       {"Class:\tpizza.Topping\nParent:\tfood.Food\n"},  // a parent of another library
       domainless},
      {"validate --shapes shapes.ttl ok.ttl", {"conforms\n"}, ""},
      {"validate --shapes=shapes.ttl --format=json ok.ttl",
       {"{\n  \"conforms\": true,\n  \"results\": [],\n  \"resultsLeftOut\": 0\n}\n"},
       ""},
      {"validate --format turtle --shapes shapes.ttl ok.ttl -o r.ttl",
       {},
       "qax-host: wrote the report to r.ttl\n"},
      {"--ontology " + pizza + " --json describe pizza:",
       {"\"library\": \"pizza\"", "\"namespace\": \"https://e.org/pizza.owl#\"",
        "\"pizza:Margherita\"", "\"pizza:Topping\"",
        "\"propertiesWithoutClass\": [\n    {\n      \"name\": \"pizza:hasBase\",\n      "
        "\"iri\": \"https://e.org/pizza.owl#hasBase\""},
       domainless},
      // A restriction's filler and count; the classes named, in that order.
      {"--ontology " + pizza + " shapes :Margherita food:Food",
       {"@prefix pizza: <https://e.org/pizza.owl#> .\n",
        "\npizza:MargheritaShape\n  a sh:NodeShape ;\n  sh:targetClass pizza:Margherita ;\n"
        "  sh:property [\n    sh:path pizza:hasTopping ;\n    sh:name \"hasTopping\" ;\n"
        "    sh:minCount 1 ;\n    sh:class pizza:Topping\n  ] .\n",
        "\nfood:FoodShape\n  a sh:NodeShape ;\n  sh:targetClass food:Food .\n"},
       domainless},
      // References: stored and written as IRIs, their allowed values listed.
      {"--ontology values.ttl build shop:Order status=Shipped seeAlso=shop:Order year=1999",
       {"shop:Order\n  seeAlso = \"http://e.org/shop#Order\"\n"
        "  status = \"http://e.org/shop#Shipped\"\n  year = \"1999\"\n"},
       ""},
      {"--ontology values.ttl export shop:Order status=shop:Open year=1999",
       {"\tshop:status shop:Open ;\n\tshop:year \"1999\"^^xsd:gYear .\n"},
       ""},
      {"--ontology values.ttl describe shop:Order",
       {"-------- references --------\n\nseeAlso\tan IRI\nstatus\tone of shop:Open, "
        "shop:Shipped\n"},
       ""},
      {"--ontology values.ttl --json links shop:Order",
       {"\"name\": \"shop.seeAlso\",\n      \"label\": null,\n      \"labels\": {},\n      "
        "\"docs\": {},\n      \"reference\": true,\n      "
        "\"values\": []\n",
        "\"name\": \"shop.status\",\n      \"label\": null,\n      \"labels\": {},\n      "
        "\"docs\": {},\n      \"reference\": true,\n      "
        "\"values\": [\n"
        "        \"shop:Open\",\n        \"shop:Shipped\"\n      ]\n"},
       ""},
      // Every class when none is named: the sample's being needs a name.
      {"shapes",
       {"geo:PlaceShape", "zoo:AnimalShape", "zoo:BeingShape",
        "    sh:path zoo:name ;\n    sh:name \"name\" ;\n    sh:minCount 1 ;\n",
        "zoo:PenguinShape"},
       ""},
  };
  for (const auto& c : cases) {
    env_ = c.env;
    const Result result = Run(Words(c.line));
    EXPECT_EQ(0, result.exitCode) << c.line << ": " << result.err;
    EXPECT_EQ(c.err, result.err);
    std::size_t at = 0;
    for (const std::string& part : c.parts) {
      at = result.out.find(part, at);
      EXPECT_NE(std::string::npos, at) << part << " in\n" << result.out;
    }
  }
}

// A refusal is one message on standard error, nothing on standard output, and
// exit code 1 for what cannot be done, 2 for what cannot be understood.
TEST_F(QaxHost, RefusesBadInputWithAClearMessageAndNonzeroExit) {
  Write("two.ttl",
        "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
        "<http://a.example/ns#Thing> a owl:Class .\n"
        "<http://b.example/ns#Thing> a owl:Class .\n");
  WriteValidationFiles();
  WriteValues();
  Write("latin.rdf",
        "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">caf\xE9 ok</rdf:RDF>");
  const struct {
    std::string line;  // the arguments, separated by blanks
    int exitCode;
    const char* message;
  } cases[] = {
      // libxml2 puts the bytes on a line of their own.
      {"classes --ontology latin.rdf", 1,
       "qax-host: latin.rdf:1:73: Input is not proper UTF-8, indicate encoding ! Bytes: 0xE9 0x20 "
       "0x6F 0x6B\n"},
      {"build Pengu", 1, "no class 'Pengu'"},
      {"shapes zoo:Penguin Pengu", 1, "no class 'Pengu'"},
      {"links :Penguin", 1, "the ontology declares no empty prefix, so ':Penguin' names"},
      {"links <http://example.org/zoo#Pengu>", 1, "no class <http://example.org/zoo#Pengu>"},
      {"describe nolib:", 1, "no library 'nolib' in the ontology"},
      {"build Penguin colour=red", 1, "has no attribute 'colour'"},
      {"build Penguin legs=four", 1, "'legs' needs a whole number from"},
      {"--ontology values.ttl save shop:Order o.grp status=Lost", 1,
       "qax-host: attribute 'status' needs one of shop:Open, shop:Shipped (by name, library:Name "
       "or IRI), not 'Lost'\n"},
      {"--ontology values.ttl export shop:Order seeAlso=nowhere", 1,
       "qax-host: attribute 'seeAlso' needs an absolute IRI or library:Name, not 'nowhere'\n"},
      {"frobnicate", 2, "unknown command 'frobnicate'"},
      {"export zoo:Penguin --format rdfxml", 2,
       "--format: 'rdfxml' is not a format of export; use turtle, ntriples or jsonld"},
      {"--ontology", 2, "--ontology needs a FILE"},
      {"--syntax json --ontology x", 2,
       "--syntax: unknown syntax 'json'; use turtle, ntriples, nquads, trig or rdfxml"},
      {"--syntax turtle classes", 2, "--syntax needs --ontology"},
      {"--lang pt,en- classes", 2,
       "qax-host: --lang: 'en-' is no language tag; give tags such as pt-br,en"},
      // The syntax given wins over the name.
      {"classes --ontology " + Path("two.ttl") + " --syntax rdfxml", 1,
       "two.ttl:1:2: Document is empty"},
      {"classes --ontology /nonexistent/x.ttl", 1, "x.ttl"},
      {"classes --ontology /", 1, "cannot read '/': it is a directory"},
      {"type --module /nonexistent/M.so", 1, "/nonexistent/M.so"},
      {"save zoo:Penguin " + Path("missing/x.grp"), 1, "missing/x.grp"},
      {"describe Thing --ontology " + Path("two.ttl"), 1,
       "class name 'Thing' is ambiguous; say which:\n  "},
      // What cannot be understood is refused with 2, naming the bad value.
      {"build zoo:Penguin name", 2, "'name' is not ATTRIBUTE=VALUE"},
      {"--format=rdfxml export zoo:Penguin", 2, "'rdfxml' is not a format of export"},
      {"--version extra", 2, "--version takes no other arguments, not 'extra'"},
      {"--json=yes classes", 2, "--json takes no value, not 'yes'"},
      {"--ontology= classes", 2, "--ontology needs a FILE, not ''"},
      {"export zoo:Penguin -o a --output=b", 2, "--output is given twice, as 'a' and 'b'"},
      {"build zoo:Penguin -x", 2, "unknown option '-x'"},
      {"--format dot build zoo:Penguin", 2, "--format is no option of build"},
      {"validate bad.ttl", 2, "validate needs --shapes FILE"},
      {"--format=xml validate --shapes shapes.ttl bad.ttl", 2,
       "--format: 'xml' is not a format of validate; use text, turtle or json"},
      {"--shapes shapes.ttl build zoo:Penguin", 2,
       "--shapes is no option of build (validate and check take it)"},
      {"--shapes - check -", 2,
       "standard input ('-') is read once, but is given for both --shapes and check's FILE"},
      {"--ontology - load -", 2,
       "standard input ('-') is read once, but is given for both --ontology and load's FILE"},
      {"check a.grp b.grp", 2, "check takes one FILE, not also 'b.grp'"},
      // Unreadable data and shapes that are not SHACL.
      {"validate --shapes shapes.ttl broken.ttl", 2, "broken.ttl:2:"},
      {"validate --shapes unshapely.ttl ok.ttl", 2,
       "qax-host: the shapes of unshapely.ttl are not valid SHACL: "},
  };
  for (const auto& c : cases) {
    const Result result = Run(Words(c.line));
    EXPECT_EQ(c.exitCode, result.exitCode) << c.line << ": " << result.err;
    EXPECT_NE(std::string::npos, result.err.find(c.message)) << result.err;
    EXPECT_EQ(0u, result.err.find("qax-host: ")) << result.err;
    EXPECT_EQ("", result.out) << c.line;
    EXPECT_EQ(std::string::npos, result.err.find(" \n")) << result.err;
  }
}

// An attribute given again takes several values, each after the first on a
// value link; where the ontology allows one value, a second is refused.
TEST_F(QaxHost, RepeatedAttributesGiveSeveralValuesWhereTheOntologyAllows) {
  Write("pizza.ttl",
        "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
        "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
        "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
        "@prefix p: <http://e.org/pizza#> .\n"
        "p:Topping a owl:Class .\n"
        "p:Pizza a owl:Class ; rdfs:subClassOf [ a owl:Restriction ;\n"
        "  owl:onProperty p:hasBase ; owl:maxCardinality 1 ] .\n"
        "p:name a owl:DatatypeProperty ; rdfs:domain p:Topping ; rdfs:range xsd:string .\n"
        "p:hasTopping a owl:ObjectProperty ; rdfs:domain p:Pizza ; rdfs:range p:Topping .\n"
        "p:tag a owl:DatatypeProperty ; rdfs:domain p:Pizza ; rdfs:range xsd:string .\n"
        "p:hasBase a owl:DatatypeProperty ; rdfs:domain p:Pizza ; rdfs:range xsd:string .\n"
        "p:hasSpiciness a owl:DatatypeProperty , owl:FunctionalProperty ;\n"
        "  rdfs:domain p:Pizza ; rdfs:range xsd:integer .\n");
  const std::vector<std::string> values = {"tag=hot", "tag=new", "hasTopping.name=Tomato",
                                           "hasTopping[2].name=Basil", "hasSpiciness=2"};
  std::vector<std::string> build = {"--ontology", "pizza.ttl", "build", "pizza:Pizza"};
  build.insert(build.end(), values.begin(), values.end());
  const std::string item =
      "pizza:Pizza\n  hasSpiciness = \"2\"\n  hasTopping = [\n    - pizza:Topping\n"
      "      name = \"Tomato\"\n    - pizza:Topping\n      name = \"Basil\"\n  ]\n"
      "  tag = [\"hot\", \"new\"]\n";
  const Result built = Run(build);
  EXPECT_EQ(0, built.exitCode) << built.err;
  EXPECT_EQ(item, built.out);

  build[2] = "links";
  EXPECT_EQ(
      "pizza:Pizza declares 6 links\n"
      "link  index  type             name\n"
      "0     0      Text             pizza.hasBase\n"
      "1     1      Value            pizza.hasSpiciness\n"
      "2     2      QAXOntologyItem  pizza.hasTopping [TODO.TODO]\n"
      "3     3      Text             pizza.tag\n"
      "4     4      QAXOntologyItem  pizza.hasTopping [TODO.TODO] (value 2 of link 2)\n"
      "5     5      Text             pizza.tag (value 2 of link 3)\n",
      Run(build).out);

  build[2] = "save";
  build.insert(build.begin() + 4, "p.grp");
  ASSERT_EQ(0, Run(build).exitCode);
  const Result loaded = Run({"--ontology", "pizza.ttl", "load", "p.grp"});
  EXPECT_NE(std::string::npos,
            loaded.out.find("      link 4 pizza.hasTopping [TODO.TODO] -> #4 (value 2 of link 2)\n"
                            "      link 5 pizza.tag -> #7 (value 2 of link 3)\n"))
      << loaded.out;
  EXPECT_NE(std::string::npos, loaded.out.find("item built by #0:\n" + item)) << loaded.out;
  const std::string triples =
      Run({"--ontology", "pizza.ttl", "export", "--file", "p.grp", "--format", "ntriples"}).out;
  for (const char* line :
       {"<http://e.org/pizza#tag> \"hot\" .", "<http://e.org/pizza#tag> \"new\" .",
        "<http://e.org/pizza#name> \"Tomato\" .", "<http://e.org/pizza#name> \"Basil\" ."}) {
    EXPECT_NE(std::string::npos, triples.find(line)) << line << "\n" << triples;
  }
  const auto json =
      nlohmann::json::parse(Run({"--json", "--ontology", "pizza.ttl", "load", "p.grp"}).out);
  EXPECT_EQ((nlohmann::json{"hot", "new"}), json["items"][0]["item"]["attributes"]["tag"]);
  // Against a release with an attribute first in the walk, the value links
  // bind as further values of their attributes.
  Write("aroma.ttl", ReadFile(Path("pizza.ttl")) +
                         "p:aroma a owl:DatatypeProperty ; rdfs:domain p:Pizza ; rdfs:range "
                         "xsd:string .\n");
  const Result migrated = Run({"--ontology", "aroma.ttl", "migrate", "p.grp"});
  EXPECT_NE(
      std::string::npos,
      migrated.out.find("    link 5 pizza.tag: value 2 of pizza.tag (link 3), value \"new\"\n"))
      << migrated.out;

  const struct {
    std::string values;
    const char* message;
  } refused[] = {
      {"hasSpiciness=1 hasSpiciness=2",
       "qax-host: 'hasSpiciness' takes one value: the ontology allows at most 1 on pizza:Pizza "
       "(a functional property, a maximum cardinality or an sh:maxCount)\n"},
      {"hasBase=thin hasBase=thick", "qax-host: 'hasBase' takes one value: "},
      {"hasTopping.name=a hasTopping.name=b",
       "qax-host: attribute 'hasTopping.name' is given more than once; give it one value, or "
       "number the values ('hasTopping[2].name')\n"},
      {"hasTopping[3].name=a",
       "qax-host: attribute 'hasTopping[3]' is given, but not 'hasTopping' (values are numbered "
       "from 1, without gaps)\n"},
      {"tag[0]=a",
       "qax-host: attribute 'tag[0]': the value's number must be a whole number from "
       "1 to 4096\n"},
      {"tag=a tag[1]=b", "qax-host: attribute 'tag' is given more than once; give it one value\n"},
  };
  for (const auto& c : refused) {
    const Result result = Run(Words("--ontology pizza.ttl build pizza:Pizza " + c.values));
    EXPECT_EQ(1, result.exitCode) << c.values;
    EXPECT_EQ(0u, result.err.find(c.message)) << result.err;
    EXPECT_EQ("", result.out) << c.values;
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
        "item built by #0:\nzoo:Penguin\n  alive = \"1\"\n  name = \"Pingu\"\n  legs = \"2\"\n  "
        "weight = \"4.5\"\n  habitat = geo:Place\n    placeName = \"Ross Sea\"\n"}) {
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
  EXPECT_EQ(statements, qaxoi::test::ParsedStatements(built.out));
  EXPECT_EQ(statements,
            qaxoi::test::ParsedStatements(Run({"export", "--file", Path("penguin.grp")}).out));
  const Result piped = Run({"export", "--file", "-", "--format", "ntriples", "-o", Path("p.nt")},
                           Path("penguin.grp"));
  EXPECT_EQ("qax-host: wrote 1 item to " + Path("p.nt") + "\n", piped.err);
  EXPECT_EQ(statements, qaxoi::test::ParsedStatements(ReadFile(Path("p.nt")), true));
}

// What a shell user and a script expect of a command line: the forms of
// options, "-" and "--", data alone on standard output, one notation for
// classes, typed JSON, no trailing blanks, and a hint for a class the ontology
// lacks.
TEST_F(QaxHost, FollowsTheShellsConventions) {
  SavePenguin();
  WriteValidationFiles();
  const std::string owl = "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n";
  Write("foaf.ttl", owl + "<http://xmlns.com/foaf/0.1/Person> a owl:Class .\n");
  Write("other.ttl", owl + "<http://other.example/v#Thing> a owl:Class .\n");
  // The index of known vocabularies, as the fetched package writes it.
  ::mkdir(Path("voc").c_str(), 0700);
  Write("voc/_index.nq",
        "<https://p.example/foaf:> <http://www.w3.org/ns/rdfa#uri> <http://xmlns.com/foaf/0.1/> .\n"
        "<https://p.example/foaf:> <http://dbpedia.org/ontology/filename> "
        "\"ontologies/foaf.nq\" .\n");
  Write("voc/foaf.nq", "");
  ::setenv("QAX_HOST_VOCABULARIES", Path("voc").c_str(), 1);
  // Patterns that backtrack exponentially on every value: more work than
  // validation may spend on input of this size.
  std::string hostileShapes = "@prefix sh: <http://www.w3.org/ns/shacl#> .\n";
  std::string hostileData;
  for (int i = 0; i < 8; ++i)
    hostileShapes += "<http://e.org/S" + std::to_string(i) +
                     "> sh:targetSubjectsOf <http://e.org/p> ; sh:property [ sh:path "
                     "<http://e.org/p> ; sh:pattern \"^(a|a)*[0-9]\" ] .\n";
  for (int i = 0; i < 60; ++i)
    hostileData += "<http://e.org/n" + std::to_string(i) + "> <http://e.org/p> \"" +
                   std::string(30, 'a') + "c" + std::to_string(i) + "\" .\n";
  Write("hostile.ttl", hostileShapes);
  Write("many.ttl", hostileData);
  const std::string penguinJson =
      "{\n  \"class\": \"zoo:Penguin\",\n  \"iri\": \"http://example.org/zoo#Penguin\",\n"
      "  \"attributes\": {\n    \"alive\": true,\n    \"name\": \"Pingu\",\n    \"legs\": 2,\n"
      "    \"weight\": 4.5\n  }\n}\n";
  const struct {
    std::string line;   // the arguments, separated by blanks
    std::string input;  // the file standard input reads, in the test's folder
    int exitCode;
    std::string out;  // standard output: exactly, or a fragment when `fragment`
    bool fragment;
    std::string err;  // a fragment of standard error; "" when it must be empty
  } cases[] = {
      // Data that does not conform: one line per result, escaped, without
      // the message's trailing blank; 1 as exit code.
      {"validate --shapes shapes.ttl bad.ttl", "", 1,
       "Violation: <http://e.org/bob> <http://e.org/age> \"x\\x0A\": age must be an integer\n"
       "does not conform: 1 result\n",
       false, ""},
      {"validate --shapes - ok.ttl bad.ttl --format=turtle", "shapes.ttl", 1,
       "sh:value \"x\\n\" ;\n    sh:sourceShape _:", true, ""},
      // Validation past its work budget: the results so far, and one line
      // saying why it stopped; 1 as exit code, the data not said to conform.
      {"validate --shapes hostile.ttl many.ttl", "", 1, "does not conform: ", true,
       "qax-host: validation stopped after "},
      {"validate --shapes hostile.ttl many.ttl --format=json", "", 1,
       "\"resultsLeftOut\": 0,\n  \"stopped\": \"validation stopped after ", true,
       "qax-host: validation stopped after "},
      // "--" ends the options: a file may be named "-x"; the confirmation is
      // no data.
      {"save zoo:Penguin -- -x name=Pingu", "", 0, "", false, "qax-host: saved 2 channels to -x\n"},
      {"dump -- -x", "", 0, "group file -x: ", true, ""},
      {"export zoo:Penguin name=Pingu --format=ntriples --output=-", "", 0,
       "<http://example.org/zoo#name> \"Pingu\" .\n", true, ""},
      {"save zoo:Penguin -", "", 0, "A3DGRP", true, ""},
      {"graph --file -", "penguin.grp", 0, "digraph \"(standard input)\" {\n", true, ""},
      {"--ontology - classes", "foaf.ttl", 0, "  foaf:Person ", true, ""},
      // An option wider than the help's column is shown whole, its
      // description on the next line (the manual page is made from this).
      {"--help", "", 0,
       "  --connect-timeout SECONDS\n                    the longest to wait for a connection",
       true, ""},
      {"--json build zoo:Penguin alive=yes name=Pingu legs=2 weight=4.5", "", 0, penguinJson, false,
       ""},
      {"links zoo:Penguin", "", 0, "\n6     6      Text             zoo.ring\n7 ", true, ""},
      {"shapes geo:Place -o place.ttl", "", 0, "", false,
       "qax-host: wrote the shapes of 1 class to place.ttl\n"},
      {"--ontology foaf.ttl save foaf:Person f.grp", "", 0, "", false, "saved"},
      {"load f.grp", "", 1, "item built by #0:\n", true,
       "the ontology has no class <http://xmlns.com/foaf/0.1/Person> (namespace "
       "<http://xmlns.com/foaf/0.1/>): --ontology " +
           Path("voc") + "/foaf.nq loads the vocabulary of that namespace\n"},
      {"--ontology other.ttl save Thing o.grp", "", 0, "", false, "saved"},
      {"export --file o.grp", "", 1, "", false,
       "(namespace <http://other.example/v#>): load a vocabulary of that namespace with "
       "--ontology FILE\n"},
  };
  for (const auto& c : cases) {
    const Result result = Run(Words(c.line), c.input.empty() ? "/dev/null" : Path(c.input));
    const std::string& row = c.line;
    EXPECT_EQ(c.exitCode, result.exitCode) << row << ": " << result.err;
    if (c.fragment) {
      EXPECT_NE(std::string::npos, result.out.find(c.out)) << row << ": " << result.out;
    } else {
      EXPECT_EQ(c.out, result.out) << row;
    }
    if (c.err.empty()) {
      EXPECT_EQ("", result.err) << row;
    }
    EXPECT_NE(std::string::npos, result.err.find(c.err)) << row << ": " << result.err;
    // Text, that is: a saved group's bytes are no lines.
    const bool text = result.out.compare(0, 6, "A3DGRP") != 0;
    for (const std::string& output : {text ? result.out : "", result.err}) {
      EXPECT_EQ(std::string::npos, output.find(" \n")) << row << ": a line ends in a blank";
    }
  }
  ::unsetenv("QAX_HOST_VOCABULARIES");
}

// What a file, a vocabulary or the command line holds is never changed or
// dropped without a word: qax-host refuses it before writing anything (no file
// is saved) or says what it became. Names never reach the terminal with their
// control characters, and running out of memory is a message, not a signal.
TEST_F(QaxHost, NothingIsChangedSilentlyOrShownRaw) {
  const std::string prefixes =
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix ex: <http://example.org/t#> .\n";
  const std::string longIri = "http://example.org/" + std::string(300, 'x') + "#Long";
  Write("long.ttl", prefixes + "<" + longIri + "> a owl:Class .\n");
  // Padded, so that the memory a load may take (10 times the document's
  // size) holds its 4,100 attributes: the case is about the link limit.
  std::string wide = prefixes + "#" + std::string(100000, ' ') + "\nex:T a owl:Class .\n";
  char name[8];
  for (int i = 0; i < 4100; ++i) {
    std::snprintf(name, sizeof(name), "s%04d", i);
    wide += "ex:" + std::string(name) + " a owl:DatatypeProperty ; rdfs:domain ex:T .\n";
  }
  Write("wide.ttl", wide);
  Write("range.ttl",
        prefixes +
            "ex:Place a owl:Class . ex:Island a owl:Class ; rdfs:subClassOf ex:Place .\n"
            "ex:Pet a owl:Class .\n"
            "ex:home a owl:ObjectProperty ; rdfs:domain ex:Pet ; rdfs:range ex:Place .\n");
  const std::string red = "http://example.org/t#Red\x1B[31mX";
  Write("esc.ttl",
        prefixes +
            "<http://example.org/t#Red\\u001B[31mX> a owl:Class ; rdfs:comment "
            "\"doc \\u001B[31m red\" .\n<http://example.org/t#p\\u001B[32m> a "
            "owl:DatatypeProperty ; rdfs:domain <http://example.org/t#Red\\u001B[31mX> .\n");
  const std::string x = Path("x.grp");
  const struct {
    std::string line;  // the arguments, separated by blanks
    int exitCode;
    std::string err, out;  // fragments
  } cases[] = {
      {"--ontology " + Path("long.ttl") + " save " + longIri + " " + x, 1,
       "its IRI has 324 bytes, and loading a group keeps 255", ""},
      {"--ontology " + Path("wide.ttl") + " save t:T " + x + " s0000=a s4099=LOST", 1,
       "attribute 's4099' has no link", ""},
      {"save zoo:Penguin " + x + " legs=2.5", 1,
       "'legs' needs a whole number from -16777216 to 16777216", ""},
      {"save zoo:Penguin " + x + " legs=0x10", 1, "not '0x10'", ""},
      {"save zoo:Penguin " + x + " legs=16777217", 1, "not '16777217'", ""},
      {"build zoo:Penguin legs=-16777216", 0, "", "legs = \"-16777216\""},
      {"save zoo:Penguin " + x + " weight=nan", 1, "'weight' needs a decimal number, not 'nan'",
       ""},
      {"build zoo:Penguin weight=123456.789", 0,
       "qax-host: weight=123456.789 is held by the float channel and written as 123457\n",
       "weight = \"123457\""},
      {"save zoo:Penguin " + x + " habitat=zoo:Penguin", 1,
       "'habitat' takes a geo:Place or a subclass of it, not zoo:Penguin", ""},
      {"--ontology " + Path("range.ttl") + " build t:Pet home=t:Island", 0, "", "home = t:Island"},
      {"save zoo:Penguin " + x + " habitat.placeName=A habitat.placeName=B", 1,
       "'habitat.placeName' is given more than once", ""},
      {"--ontology " + Path("esc.ttl") + " classes", 0, "", "<http://example.org/t#Red\\x1B[31mX>"},
      {"--ontology " + Path("esc.ttl") + " describe " + red, 0, "", "Doc:\tdoc \\x1B[31m red\n"},
      {"--ontology " + Path("esc.ttl") + " links " + red, 0, "", "Text             t.p\\x1B[32m\n"},
      {"--ontology " + Path("esc.ttl") + " save " + red + " " + Path("e.grp") + " p\x1B[32m=v", 0,
       "qax-host: saved 2 channels", ""},
      {"--ontology " + Path("esc.ttl") + " load " + Path("e.grp"), 0, "",
       "link 0 t.p\\x1B[32m -> #1\n  #1 Text \"p\\x1B[32m\" \"v\"\nitem built by "
       "#0:\nt:Red\\x1B[31mX\n"},
      {"dump " + Path("e.grp"), 0, "",
       "CID               30  \"http://example.org/t#Red\\x1B[31mX\""},
      {"--ontology " + Path("esc.ttl") + " graph --file " + Path("e.grp"), 0, "",
       "[label=\"t.p\\\\x1B[32m\"]"},
      {"build No\x1B[31m", 1, "no class 'No\\x1B[31m'", ""},
  };
  for (const auto& c : cases) {
    const Result result = Run(Words(c.line));
    const std::string& row = c.line;
    EXPECT_EQ(c.exitCode, result.exitCode) << row << ": " << result.err;
    EXPECT_NE(std::string::npos, result.err.find(c.err)) << row << ": " << result.err;
    EXPECT_NE(std::string::npos, result.out.find(c.out)) << row << ": " << result.out;
    EXPECT_EQ(std::string::npos, (result.out + result.err).find('\x1B')) << row;
    EXPECT_FALSE(std::ifstream(x).good()) << row << ": a refused save wrote " << x;
  }
#if !defined(__SANITIZE_ADDRESS__)
  // AddressSanitizer reserves terabytes of address space at start and aborts
  // on any failed allocation by design.
  // 7 MB of one-line class declarations: far more than the 64 MB address
  // space leaves once the libraries (about 45 MB with raptor's) are mapped.
  std::string big = prefixes;
  for (int i = 0; i < 300000; ++i) big += "ex:c" + std::to_string(i) + " a owl:Class .\n";
  Write("big.ttl", big);
  constexpr unsigned long kSmallAddressSpaceKb = 64 * 1024;
  const Result oom =
      Run({"--ontology", Path("big.ttl"), "classes"}, "/dev/null", "", kSmallAddressSpaceKb);
  EXPECT_EQ(1, oom.exitCode);
  EXPECT_EQ(0u, oom.err.find("qax-host: out of memory while loading the vocabulary '")) << oom.err;
#endif
}

// A damaged file is refused naming the file and the byte; dump still shows
// what it can read and marks the damage.
TEST_F(QaxHost, DamagedFilesAreRefusedNamingTheFileAndByteAndDumpShowsWhatIsLeft) {
  const std::string bytes = SavePenguin();
  std::string flipped = bytes;
  flipped[bytes.find("Pingu")] ^= 0x01;
  const std::string channel2 =
      "channel 2 (Text {6E6FB247-4627-4FBE-8973-48344F23881E}), byte 937: the channel's checksum "
      "does not match (the file is damaged)\n";
  Write("bad.grp", bytes.substr(0, bytes.size() - 1));
  const Result cut = Run({"load", Path("bad.grp")});
  EXPECT_EQ(1, cut.exitCode);
  EXPECT_EQ(0u, cut.err.find("qax-host: group file '" + Path("bad.grp") + "', ")) << cut.err;
  Write("bad.grp", flipped + "x");  // a fault after the damaged part is its own
  const Result damaged = Run({"dump", "-"}, Path("bad.grp"));
  EXPECT_EQ(1, damaged.exitCode);
  const std::string stdinFile = "qax-host: group file '(standard input)', ";
  EXPECT_EQ(stdinFile + channel2 + stdinFile + "byte " + std::to_string(bytes.size()) +
                ": 1 unexpected byte follows the last channel\n",
            damaged.err);
  EXPECT_NE(std::string::npos,
            damaged.out.find("channel #2 at byte 937: Text {6E6FB247-4627-4FBE-8973-48344F23881E}\n"
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
  const std::string stale = qaxoi::files::TemporaryName("stale.grp", dead, 0);
  const std::string live = qaxoi::files::TemporaryName("stale.grp", ::getpid(), 0);
  std::thread reader;
  std::string fromFifo;
  std::string reportOnStandardOutput;
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
       0,
       "qax-host: saved 1 channel to " + Path("link.grp") + "\n",
       [&] { return S_ISLNK(modeOf("link.grp")) && isGroup("real.grp"); }},
      {"a FIFO is written as a stream",
       [&] {
         ::mkfifo(Path("out.fifo").c_str(), 0600);
         reader = std::thread([&] { fromFifo = ReadFile(Path("out.fifo")); });
       },
       {"export", "zoo:Penguin", "name=Pingu", "-o", Path("out.fifo")},
       0,
       "qax-host: wrote 1 item to " + Path("out.fifo") + "\n",
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
       0,
       "qax-host: wrote " + Path("mode.grp") + "\n",
       [&] { return (modeOf("mode.grp") & 07777) == 0640 && ReadFile(Path("mode.grp")) != "old"; }},
      {"a file with two hard links is refused",
       [&] {
         Write("one.grp", "old");
         ::link(Path("one.grp").c_str(), Path("two.grp").c_str());
       },
       {"save", "zoo:Penguin", Path("one.grp")},
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
       0,
       "qax-host: saved 1 channel to " + Path("stale.grp") + "\n",
       [&] {
         return isGroup("stale.grp") && ::access(Path(stale).c_str(), F_OK) != 0 &&
                ReadFile(Path(live)) == "mine";
       }},
      {"a 255-byte name is saved",
       [] {},
       {"save", "zoo:Penguin", Path(name255)},
       0,
       "qax-host: saved 1 channel to " + Path(name255) + "\n",
       [&] { return isGroup(name255); }},
      {"svg drawn through dot, from its standard input",
       [] {},
       {"graph", "zoo:Penguin", "--format", "svg", "--output", Path("g.svg")},
       0,
       "qax-host: wrote " + Path("g.svg") + "\n",
       [&] { return ReadFile(Path("g.svg")).find("<svg") != std::string::npos; }},
      {"/dev/stdout is standard output, not a file to replace",
       [] {},
       {"export", "zoo:Penguin", "-o", "/dev/stdout"},
       0,
       "",
       [&] {
         return S_ISLNK(modeOf("/dev/stdout")) &&
                ReadFile(Path("out")).find("a zoo:Penguin") != std::string::npos;
       }},
      {"a full device",
       [] {},
       {"export", "zoo:Penguin", "-o", "/dev/full"},
       1,
       "qax-host: cannot save '/dev/full': No space left on device\n",
       [] { return true; }},
      {"a report streamed into a file is the one standard output shows",
       [&] {
         // Results enough for a report of several hundred kilobytes, past
         // any buffer between the writer and the file.
         std::string people = "@prefix ex: <http://e.org/> .\n";
         for (int i = 0; i < 2000; ++i) {
           people += "ex:p" + std::to_string(i) + " a ex:Person ; ex:age \"x\" .\n";
         }
         Write("people.ttl", people);
         Write("report.json", "old");
         reportOnStandardOutput =
             Run({"validate", "--shapes", "shapes.ttl", "--format=json", "people.ttl"}).out;
       },
       {"validate", "--shapes", "shapes.ttl", "--format=json", "people.ttl", "--output",
        Path("report.json")},
       1,
       "qax-host: wrote the report to " + Path("report.json") + "\n",
       [&] {
         return reportOnStandardOutput.size() > 256 * 1024 &&
                ReadFile(Path("report.json")) == reportOnStandardOutput;
       }},
  };
  SavePenguin();
  WriteValidationFiles();
  for (const auto& c : cases) {
    c.setUp();
    const Result result = Run(c.arguments);
    EXPECT_EQ(c.exitCode, result.exitCode) << c.what << ": " << result.err;
    EXPECT_EQ(c.message, result.err) << c.what;
    EXPECT_TRUE(c.onDisk()) << c.what;
  }
  // Nothing but what the rows left: no temporary file of any save.
  EXPECT_EQ("", Listing(".qax-", live));
  // Standard output on a full device: a message, not a signal, also for a
  // report of data that conforms, written as it streams.
  const std::vector<std::string> fullOutputs[] = {
      {"dump", "-"}, {"validate", "--shapes", "shapes.ttl", "--format", "json", "ok.ttl"}};
  for (const std::vector<std::string>& arguments : fullOutputs) {
    const Result full = Run(arguments, Path("penguin.grp"), "/dev/full");
    EXPECT_EQ(1, full.exitCode) << arguments[0];
    EXPECT_EQ("qax-host: cannot write standard output: No space left on device\n", full.err)
        << arguments[0];
  }
}

// A group saved against one release of a vocabulary, loaded and migrated
// against the next ones: every value is said to be where it went, a value
// left without an attribute fails migrate, and the group written bound to
// the new release loads there unchanged.
TEST_F(QaxHost, MigrateSaysWhereEverySavedValueGoesAndWritesTheGroupBound) {
  const std::string head =
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
      "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
      "@prefix dct: <http://purl.org/dc/terms/> .\n"
      "@prefix m: <http://example.org/museum#> .\n"
      "m:Work a owl:Class . m:Painting a owl:Class ; rdfs:subClassOf m:Work .\n"
      "m:title a owl:DatatypeProperty ; rdfs:domain m:Work ; rdfs:range xsd:string .\n"
      "m:height a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:decimal .\n";
  const std::string medium =
      "m:medium a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range xsd:string .\n";
  Write("r1.ttl", head + medium);
  // The next release: an attribute first in the walk, medium replaced.
  Write("r2.ttl", head +
                      "m:acquired a owl:DatatypeProperty ; rdfs:domain m:Work ; rdfs:range "
                      "xsd:date .\n"
                      "m:technique a owl:DatatypeProperty ; rdfs:domain m:Painting ; rdfs:range "
                      "xsd:string .\n"
                      "m:medium owl:deprecated true ; dct:isReplacedBy m:technique .\n");
  Write("r3.ttl", head);  // medium gone
  ASSERT_EQ(0, Run({"--ontology", "r1.ttl", "save", "museum:Painting", "p.grp", "title=Sunflowers",
                    "height=92.1", "medium=oil"})
                   .exitCode);

  const Result same = Run({"--ontology", "r1.ttl", "load", "p.grp"});
  EXPECT_EQ(0, same.exitCode);
  EXPECT_EQ("", same.err);

  const Result next = Run({"--ontology", "r2.ttl", "migrate", "p.grp"});
  EXPECT_EQ(0, next.exitCode) << next.err;
  EXPECT_NE(std::string::npos,
            next.out.find("link 0 museum.title: moved to museum.title (attribute 1 of the class), "
                          "value \"Sunflowers\"\n"))
      << next.out;
  EXPECT_NE(std::string::npos,
            next.out.find("link 2 museum.medium: migrated to museum.technique (attribute 3 of the "
                          "class) (replaced by <http://example.org/museum#technique>), value "
                          "\"oil\"\n"))
      << next.out;
  EXPECT_NE(std::string::npos,
            next.out.find("p.grp was saved against another vocabulary: of 3 values, 2 stay on "
                          "their attribute (2 moved), 1 migrated to a replacement\n"))
      << next.out;

  const Result gone = Run({"--ontology", "r3.ttl", "migrate", "p.grp"});
  EXPECT_EQ(1, gone.exitCode);
  EXPECT_NE(std::string::npos,
            gone.out.find("link 2 museum.medium: unbound (the class has no attribute "
                          "<http://example.org/museum#medium>), value \"oil\"\n"))
      << gone.out;
  const Result loaded = Run({"--ontology", "r3.ttl", "load", "p.grp"});
  EXPECT_NE(std::string::npos,
            loaded.err.find("qax-host: p.grp was saved against another vocabulary: of 3 values, "
                            "2 stay on their attribute, 1 is left without an attribute (kept in "
                            "the group) (see: qax-host migrate)\n"))
      << loaded.err;

  const Result written = Run({"--ontology", "r2.ttl", "migrate", "p.grp", "q.grp"});
  EXPECT_EQ(0, written.exitCode);
  EXPECT_EQ("qax-host: saved 4 channels to q.grp, bound to r2.ttl\n", written.err);
  const Result bound = Run({"--json", "--ontology", "r2.ttl", "migrate", "q.grp"});
  EXPECT_EQ(0, bound.exitCode);
  const auto json = nlohmann::json::parse(bound.out);
  EXPECT_EQ(3, json["values"]["unchanged"]);
  EXPECT_EQ(0, json["values"]["moved"]);
  EXPECT_EQ(false, json["channels"][0]["rebound"]);

  EXPECT_EQ(2, Run({"migrate", "p.grp"}).exitCode);  // no --ontology to migrate to
}

}  // namespace

namespace {

// The sample ontology's penguin up to zoo:habitat (so that its links stand
// where the sample's stand), but with any being as zoo:habitat's range: a
// penguin saved with it may live in an animal, which the sample forbids.
const char* const kOpenHabitatOntology = R"TTL(
@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .
@prefix owl: <http://www.w3.org/2002/07/owl#> .
@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .
@prefix zoo: <http://example.org/zoo#> .
zoo:Being a owl:Class . zoo:Animal a owl:Class ; rdfs:subClassOf zoo:Being .
zoo:Penguin a owl:Class ; rdfs:subClassOf zoo:Animal .
zoo:name a owl:DatatypeProperty ; rdfs:domain zoo:Being ; rdfs:range xsd:string .
zoo:alive a owl:DatatypeProperty ; rdfs:domain zoo:Being ; rdfs:range xsd:boolean .
zoo:legs a owl:DatatypeProperty ; rdfs:domain zoo:Animal ; rdfs:range xsd:integer .
zoo:weight a owl:DatatypeProperty ; rdfs:domain zoo:Animal ; rdfs:range xsd:decimal .
zoo:born a owl:DatatypeProperty ; rdfs:domain zoo:Animal ; rdfs:range xsd:date .
zoo:habitat a owl:ObjectProperty ; rdfs:domain zoo:Penguin ; rdfs:range zoo:Being .
)TTL";

}  // namespace

// check on the README's penguin: its saved group built and validated against
// the shapes the sample ontology states, one line per fault.
TEST_F(QaxHost, CheckReportsWhatTheSavedItemsBreak) {
  Write("open.ttl", kOpenHabitatOntology);
  const std::vector<std::string> penguin = {"alive=true", "legs=2", "weight=4.5"};
  const std::string name = "name=Pingu", habitat = "habitat.placeName=Ross Sea";
  const struct {
    const char* behaviour;
    std::vector<std::string> save;  // the options and values besides the penguin's
    int exitCode;
    std::string out;
    std::string err = "";
  } cases[] = {
      {"the README's penguin conforms", {name, habitat}, 0, "conforms\n"},
      {"a date that is no xsd:date",
       {name, habitat, "born=10/12/1815"},
       1,
       "Violation: channel:0 zoo:born \"10/12/1815\": not of datatype xsd:date\n"
       "does not conform: 1 result\n",
       "qax-host: warning: zoo::Penguin: '10/12/1815' is no lexical form of "
       "<http://www.w3.org/2001/XMLSchema#date>, so the value of 'born' is written as a plain "
       "string\n"},
      {"a nested item of a class the attribute does not allow",
       {"--ontology=open.ttl", name, "habitat=zoo:Animal", "habitat.name=Rocky"},
       1,
       "Violation: channel:0 zoo:habitat channel:0.habitat: not an instance of "
       "<http://example.org/geo#Place>\ndoes not conform: 1 result\n"},
      {"a penguin without a name",
       {habitat},
       1,
       "Violation: channel:0 zoo:name: fewer than 1 values\ndoes not conform: 1 result\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> save = {"save", "zoo:Penguin", "penguin.grp"};
    save.insert(save.end(), penguin.begin(), penguin.end());
    save.insert(save.end(), c.save.begin(), c.save.end());
    const Result saved = Run(save);
    ASSERT_EQ(0, saved.exitCode) << c.behaviour << ": " << saved.err;
    const Result result = Run({"check", "penguin.grp"});
    EXPECT_EQ(c.exitCode, result.exitCode) << c.behaviour << ": " << result.err;
    EXPECT_EQ(c.out, result.out) << c.behaviour;
    EXPECT_EQ(c.err, result.err) << c.behaviour;
  }
  // A reference that the ontology no longer allows cannot be written: the
  // check fails, naming it and what is allowed.
  WriteValues();
  std::string fewer = ReadFile(Path("values.ttl"));
  fewer.replace(fewer.find("shop:Shipped shop:Open"), 12, "");
  Write("fewer.ttl", fewer);
  ASSERT_EQ(
      0,
      Run({"--ontology", "values.ttl", "save", "shop:Order", "o.grp", "status=Shipped"}).exitCode);
  const Result gone = Run({"--ontology", "fewer.ttl", "check", "o.grp"});
  EXPECT_EQ(2, gone.exitCode);
  EXPECT_EQ("", gone.out);
  EXPECT_EQ(
      "qax-host: shop::Order: the value 'http://e.org/shop#Shipped' of 'status' names no "
      "resource: give one of shop:Open\n",
      gone.err);
}
