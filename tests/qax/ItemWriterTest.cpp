// Items written as Turtle and N-Triples, read back by a strict parser, and
// as JSON-LD, byte for byte.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/rdf/Rdf.h"
#include "tests/support/ParsedRdf.h"

namespace {

using QAX::Onto::OntologyItem;
using qaxoi::rdf::RdfSyntax;
using qaxoi::rdf::WriteItems;
using qaxoi::rdf::WriteItemsJsonLd;
using qaxoi::rdf::WrittenItems;
using Texts = std::vector<std::string>;

const std::string kXsd = "^^<http://www.w3.org/2001/XMLSchema#";
const std::string kType = " <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> ";

class ItemWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    const qaxoi::Status loaded = qaxoi::rdf::LoadModelText(
        "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
        "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
        "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
        "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
        "@prefix ex: <http://e.org/ex#> .\n"
        "@prefix place: <http://e.org/place/> .\n"
        "ex:Thing a owl:Class . ex:Person a owl:Class ; rdfs:subClassOf ex:Thing .\n"
        "place:Place a owl:Class .\n"
        "ex:name a rdf:Property ; rdfs:domain ex:Thing ; rdfs:range xsd:string .\n"
        "ex:alive a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:boolean .\n"
        "ex:age a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:integer .\n"
        "ex:height a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:double .\n"
        "ex:born a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:dateTime .\n"
        "ex:blob a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:hexBinary .\n"
        "ex:home a rdf:Property ; rdfs:domain ex:Person ; rdfs:range place:Place .\n"
        "ex:friend a rdf:Property ; rdfs:domain ex:Person ; rdfs:range ex:Person .\n"
        "place:label a rdf:Property ; rdfs:domain place:Place ; rdfs:range xsd:string .\n",
        RdfSyntax::kTurtle, "people.ttl", "", &loaded_);
    ASSERT_TRUE(loaded.ok()) << loaded.message();
  }
  // Writes `items` in both syntaxes; answers the statements read back, which
  // must be the same from both.
  Texts RoundTrip(const std::vector<qaxoi::rdf::ItemSubject>& items) {
    WrittenItems turtle;
    WrittenItems ntriples;
    EXPECT_EQ("", WriteItems(items, *loaded_.model, RdfSyntax::kTurtle, &turtle).message());
    EXPECT_EQ("", WriteItems(items, *loaded_.model, RdfSyntax::kNTriples, &ntriples).message());
    EXPECT_EQ(turtle.warnings, ntriples.warnings);
    warnings_ = turtle.warnings;
    const Texts statements = qaxoi::test::ParsedStatements(turtle.text);
    EXPECT_EQ(statements, qaxoi::test::ParsedStatements(ntriples.text, true)) << ntriples.text;
    return statements;
  }

  qaxoi::rdf::LoadedModel loaded_;
  Texts warnings_;
};

TEST_F(ItemWriter, ItemsBecomeTypedStatementsThatStrictParsersReadBack) {
  OntologyItem ada("ex::Person");
  const std::string name =
      "Ada \"Countess\" \\ Lovelace\n\tof Ockham \xC3\xA9 \xF0\x9F\x98\x80 \x01";
  ada.SetAttribute("name", name);
  ada.SetAttribute("alive", "1");
  ada.SetAttribute("blob", "0FB7");
  auto* home = new OntologyItem("place::Place");
  home->SetAttribute("label", "caf\xE9");
  ada.SetAttribute("home", home);
  ada.SetAttribute("colour", "red");
  ada.PutBaseTypeListAttribute("nick", {});
  OntologyItem thing("ex::Thing");
  thing.PutBaseTypeListAttribute("name", {"one", "two"});

  EXPECT_EQ((Texts{"_:1" + kType + "<http://e.org/ex#Person>",
                   "_:1 <http://e.org/ex#name> \"" + name + "\"",
                   "_:1 <http://e.org/ex#alive> \"true\"" + kXsd + "boolean>",
                   "_:1 <http://e.org/ex#blob> \"0FB7\"",  // a datatype the service does not map
                   "_:1 <http://e.org/ex#home> _:2", "_:2" + kType + "<http://e.org/place/Place>",
                   "_:2 <http://e.org/place/label> \"caf\xEF\xBF\xBD\"",
                   "<http://e.org/people/1>" + kType + "<http://e.org/ex#Thing>",
                   "<http://e.org/people/1> <http://e.org/ex#name> \"one\"",
                   "<http://e.org/people/1> <http://e.org/ex#name> \"two\""}),
            RoundTrip({{&ada, ""}, {&thing, "http://e.org/people/1"}}));
  EXPECT_EQ((Texts{"ex::Person: 'colour' is no attribute of the class; its values are left out",
                   "place::Place: a value of 'label' is not UTF-8; its bad bytes are written as "
                   "U+FFFD"}),
            warnings_);
}

// A value is typed only where its text is a lexical form of the type.
TEST_F(ItemWriter, ValuesAreTypedByKindWhereTheTextAllows) {
  const std::pair<std::pair<const char*, const char*>, std::string> cases[] = {
      {{"alive", "0"}, "\"false\"" + kXsd + "boolean>"},
      {{"age", "+7"}, "\"+7\"" + kXsd + "integer>"},
      {{"height", ".5"}, "\".5\"" + kXsd + "decimal>"},
      {{"height", "1e+06"}, "\"1e+06\"" + kXsd + "double>"},
      {{"height", "-INF"}, "\"-INF\"" + kXsd + "double>"},
      {{"born", "2024-02-29"}, "\"2024-02-29\"" + kXsd + "date>"},
      {{"born", "2024-13-01"}, "\"2024-13-01\""},
      {{"born", "2024-01-01T24:00:00"}, "\"2024-01-01T24:00:00\"" + kXsd + "dateTime>"},
      {{"born", "2024-01-01T10:00:00.25-14:00"},
       "\"2024-01-01T10:00:00.25-14:00\"" + kXsd + "dateTime>"},
      {{"born", "2024-01-01T10:00:00+14:30"}, "\"2024-01-01T10:00:00+14:30\""},
      {{"born", "P1Y"}, "\"P1Y\""},  // a duration: temporal, but no date
  };
  for (const auto& [value, object] : cases) {
    OntologyItem item("ex::Person");
    item.SetAttribute(value.first, value.second);
    const Texts statements = RoundTrip({{&item, ""}});
    ASSERT_EQ(2u, statements.size()) << value.second;
    EXPECT_EQ("_:1 <http://e.org/ex#" + std::string(value.first) + "> " + object, statements[1]);
  }
}

// What a user reads: the JSON-LD document of two items, whole. Nested items
// are embedded, lists are arrays, literals are never JSON numbers. (rdflib
// reads harder cases back in jsonld_matches_turtle.py.)
TEST_F(ItemWriter, JsonLdDocumentsAreWrittenAsTheUserSeesThem) {
  OntologyItem ada("ex::Person");
  ada.SetAttribute("alive", "1");
  ada.SetAttribute("age", "36");
  ada.SetAttribute("height", "1.65");
  ada.PutBaseTypeListAttribute("name", {"Ada \"A.\" \\\n\x01", "\xC3\xA9\xFF"});
  auto* home = new OntologyItem("place::Place");
  home->SetAttribute("label", "London");
  ada.SetAttribute("home", home);
  OntologyItem one("ex::Thing");
  one.SetAttribute("name", "x");
  const std::vector<qaxoi::rdf::ItemSubject> items = {{&ada, ""}, {&one, "http://e.org/people/1"}};
  WrittenItems written;
  EXPECT_EQ("", WriteItemsJsonLd(items, *loaded_.model, &written).message());
  EXPECT_EQ(
      "{\n  \"@context\": {\n    \"ex\": \"http://e.org/ex#\",\n"
      "    \"place\": \"http://e.org/place/\",\n"
      "    \"xsd\": \"http://www.w3.org/2001/XMLSchema#\"\n"
      "  },\n  \"@graph\": [\n    {\n      \"@type\": \"ex:Person\",\n"
      "      \"ex:alive\": {\n        \"@value\": \"true\",\n"
      "        \"@type\": \"xsd:boolean\"\n      },\n"
      "      \"ex:age\": {\n        \"@value\": \"36\",\n"
      "        \"@type\": \"xsd:integer\"\n      },\n"
      "      \"ex:height\": {\n        \"@value\": \"1.65\",\n"
      "        \"@type\": \"xsd:decimal\"\n      },\n"
      "      \"ex:name\": [\n        \"Ada \\\"A.\\\" \\\\\\n\\u0001\",\n"
      "        \"\xC3\xA9\xEF\xBF\xBD\"\n      ],\n"
      "      \"ex:home\": {\n        \"@type\": \"place:Place\",\n"
      "        \"place:label\": \"London\"\n      }\n    },\n"
      "    {\n      \"@id\": \"http://e.org/people/1\",\n      \"@type\": \"ex:Thing\",\n"
      "      \"ex:name\": \"x\"\n    }\n  ]\n}\n",
      written.text);
  WrittenItems turtle;
  EXPECT_EQ("", WriteItems(items, *loaded_.model, RdfSyntax::kTurtle, &turtle).message());
  EXPECT_EQ(turtle.warnings, written.warnings);
}

TEST_F(ItemWriter, RefusesWhatItCannotWriteWhole) {
  OntologyItem known("ex::Thing"), unknown("ex::Nobody"), parent("ex::Person"), deep("ex::Person");
  parent.SetAttribute("home", new OntologyItem("place::Nowhere"));
  OntologyItem* at = &deep;
  for (std::size_t level = 1; level < qaxoi::rdf::kMaxJsonLdItemDepth; ++level) {
    auto* next = new OntologyItem("ex::Person");
    at->SetAttribute("friend", next);
    at = next;
  }
  // A format of -1 is JSON-LD.
  const struct {
    std::vector<qaxoi::rdf::ItemSubject> items;
    int syntax;
    const char* error;
  } cases[] = {
      {{{nullptr, ""}}, -1, "an item to write is null"},
      {{{&known, "http://e.org/a b"}},
       static_cast<int>(RdfSyntax::kTurtle),
       "'http://e.org/a b' is no absolute IRI that RDF can write"},
      {{{&known, "http://e.org/\xC3"}},
       -1,
       "'http://e.org/\xC3' is no absolute IRI that RDF can write"},
      {{{&known, ""}, {&unknown, ""}},
       static_cast<int>(RdfSyntax::kTurtle),
       "the ontology has no class 'ex::Nobody' for an item to write"},
      {{{&parent, ""}},
       static_cast<int>(RdfSyntax::kNTriples),
       "the ontology has no class 'place::Nowhere' for an item to write"},
      {{{&deep, ""}}, -1, ""},  // at the limit
  };
  for (const auto& c : cases) {
    WrittenItems written;
    const qaxoi::Status status =
        c.syntax < 0
            ? WriteItemsJsonLd(c.items, *loaded_.model, &written)
            : WriteItems(c.items, *loaded_.model, static_cast<RdfSyntax>(c.syntax), &written);
    EXPECT_EQ(c.error, status.message());
    EXPECT_EQ(*c.error == '\0', !written.text.empty());
  }
  // One level deeper than JSON-LD is written for: Turtle still writes it.
  at->SetAttribute("friend", new OntologyItem("ex::Person"));
  WrittenItems tooDeep;
  EXPECT_EQ("an item nests deeper than 256 levels, the most that JSON-LD is written for",
            WriteItemsJsonLd({{&deep, ""}}, *loaded_.model, &tooDeep).message());
  EXPECT_EQ("", tooDeep.text);
  WrittenItems turtle;
  EXPECT_EQ("", WriteItems({{&deep, ""}}, *loaded_.model, RdfSyntax::kTurtle, &turtle).message());
}

// A model built in code may give an attribute a name that no IRI holds: a
// value of it fails the export, named, rather than be left out unsaid.
TEST(ItemWriterOfACodeModel, FailsNamingAValueWhosePropertyHasNoIri) {
  QAX::Ontology::OntologyModel model;
  model.SetNamespace("lib", "http://e.org/lib/");
  QAX::Ontology::MetaClass* thing =
      model.AddClass(model.AddLibrary("lib"),
                     {"Thing", "lib", "http://e.org/lib/Thing", "", "", false, ""}, nullptr);
  const auto text = QAX::Ontology::Info::KindValue(QAX::Ontology::Info::AttrKind::kText);
  thing->AddAttribute({"name", "lib", text, "string"});
  thing->AddAttribute({"odd name", "lib", text, "string"});
  OntologyItem item("lib::Thing");
  item.SetAttribute("name", "Ada");
  item.SetAttribute("odd name", "line\none");
  WrittenItems written;
  EXPECT_EQ(
      "lib::Thing: the value 'line one' of 'odd name' cannot be written: its property IRI "
      "'http://e.org/lib/odd name' is not one that RDF can write",
      WriteItems({{&item, ""}}, model, RdfSyntax::kTurtle, &written).message());
  EXPECT_EQ("", written.text);
}

}  // namespace
