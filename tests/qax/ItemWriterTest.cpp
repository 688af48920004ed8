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
        "place:label a rdf:Property ; rdfs:domain place:Place ; rdfs:range xsd:string .\n"
        // What values are: typed literals, references, enumerations.
        "@prefix schema: <http://schema.org/> .\n"
        "ex:Kilogram a rdfs:Datatype .\n"
        "ex:Colour a owl:Class ; rdfs:subClassOf schema:Enumeration .\n"
        "ex:Red a ex:Colour . ex:Blue a ex:Colour . place:Red a ex:Colour .\n"
        "ex:year a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:gYear .\n"
        "ex:weight a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:float .\n"
        "ex:children a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:nonNegativeInteger .\n"
        "ex:mass a rdf:Property ; rdfs:domain ex:Person ; rdfs:range ex:Kilogram .\n"
        "ex:lat a rdf:Property ; rdfs:domain ex:Person ;\n"
        "  schema:rangeIncludes schema:Number, schema:Text .\n"
        "ex:page a rdf:Property ; rdfs:domain ex:Person ; rdfs:range schema:URL .\n"
        "ex:colour a rdf:Property ; rdfs:domain ex:Person ; rdfs:range ex:Colour .\n"
        "ex:seeAlso a owl:ObjectProperty ; rdfs:domain ex:Person ; rdfs:range owl:Thing .\n",
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
  ada.SetAttribute("hue", "red");
  ada.PutBaseTypeListAttribute("nick", {});
  OntologyItem thing("ex::Thing");
  thing.PutBaseTypeListAttribute("name", {"one", "two"});

  EXPECT_EQ((Texts{"_:1" + kType + "<http://e.org/ex#Person>",
                   "_:1 <http://e.org/ex#name> \"" + name + "\"",
                   "_:1 <http://e.org/ex#alive> \"true\"" + kXsd + "boolean>",
                   "_:1 <http://e.org/ex#blob> \"0FB7\"" + kXsd + "hexBinary>",
                   "_:1 <http://e.org/ex#home> _:2", "_:2" + kType + "<http://e.org/place/Place>",
                   "_:2 <http://e.org/place/label> \"caf\xEF\xBF\xBD\"",
                   "<http://e.org/people/1>" + kType + "<http://e.org/ex#Thing>",
                   "<http://e.org/people/1> <http://e.org/ex#name> \"one\"",
                   "<http://e.org/people/1> <http://e.org/ex#name> \"two\""}),
            RoundTrip({{&ada, ""}, {&thing, "http://e.org/people/1"}}));
  EXPECT_EQ((Texts{"ex::Person: 'hue' is no attribute of the class; its values are left out",
                   "place::Place: a value of 'label' is not UTF-8; its bad bytes are written as "
                   "U+FFFD"}),
            warnings_);
}

// A value is written with the datatype its range gives where its text is a
// lexical form of it; where it is not, as a plain string with a warning. A
// union with text writes what reads as a number as a number.
// Named by path, nested items are IRIs under their parent's, numbered from
// their attribute's second value on; a subject without an IRI keeps blank
// nodes whatever it asks.
TEST_F(ItemWriter, NestedItemsNamedByPathAreIrisUnderTheirParents) {
  OntologyItem ada("ex::Person");
  auto* bob = new OntologyItem("ex::Person");
  bob->SetAttribute("home", new OntologyItem("place::Place"));
  auto* cy = new OntologyItem("ex::Person");
  cy->SetAttribute("name", "Cy");
  ada.SetAttribute("name", "Ada");
  ada.PutComplexTypeListAttribute("friend", {bob, cy});
  OntologyItem dan("ex::Person");
  dan.SetAttribute("home", new OntologyItem("place::Place"));
  qaxoi::rdf::ItemSubject named{&ada, "urn:x:0", true};
  qaxoi::rdf::ItemSubject blank{&dan, "", true};
  const std::string person = "<http://e.org/ex#Person>", place = "<http://e.org/place/Place>";
  EXPECT_EQ((Texts{"<urn:x:0>" + kType + person, "<urn:x:0> <http://e.org/ex#name> \"Ada\"",
                   "<urn:x:0> <http://e.org/ex#friend> <urn:x:0.friend>",
                   "<urn:x:0> <http://e.org/ex#friend> <urn:x:0.friend[2]>",
                   "<urn:x:0.friend>" + kType + person,
                   "<urn:x:0.friend> <http://e.org/ex#home> <urn:x:0.friend.home>",
                   "<urn:x:0.friend[2]>" + kType + person,
                   "<urn:x:0.friend[2]> <http://e.org/ex#name> \"Cy\"",
                   "<urn:x:0.friend.home>" + kType + place, "_:1" + kType + person,
                   "_:1 <http://e.org/ex#home> _:2", "_:2" + kType + place}),
            RoundTrip({named, blank}));
}

TEST_F(ItemWriter, ValuesAreTypedByTheirRangeWhereTheTextAllows) {
  const std::string bad = "ex::Person: '";
  const struct {
    const char* attribute;
    const char* value;
    std::string object;
    std::string warning;
  } cases[] = {
      {"alive", "0", "\"false\"" + kXsd + "boolean>", ""},
      {"age", "+7", "\"+7\"" + kXsd + "integer>", ""},
      {"height", ".5", "\".5\"" + kXsd + "double>", ""},
      {"height", "-INF", "\"-INF\"" + kXsd + "double>", ""},
      {"height", "tall", "\"tall\"",
       bad + "tall' is no lexical form of <http://www.w3.org/2001/XMLSchema#double>, so the value "
             "of 'height' is written as a plain string"},
      {"born", "2024-01-01T24:00:00", "\"2024-01-01T24:00:00\"" + kXsd + "dateTime>", ""},
      {"born", "2024-01-01T10:00:00.25-14:00",
       "\"2024-01-01T10:00:00.25-14:00\"" + kXsd + "dateTime>", ""},
      {"born", "2024-02-29", "\"2024-02-29\"",
       bad + "2024-02-29' is no lexical form of <http://www.w3.org/2001/XMLSchema#dateTime>, so "
             "the value of 'born' is written as a plain string"},
      {"year", "1815", "\"1815\"" + kXsd + "gYear>", ""},
      {"year", "-0044Z", "\"-0044Z\"" + kXsd + "gYear>", ""},
      {"year", "815", "\"815\"",
       bad + "815' is no lexical form of <http://www.w3.org/2001/XMLSchema#gYear>, so the value "
             "of 'year' is written as a plain string"},
      {"weight", "4.5", "\"4.5\"" + kXsd + "float>", ""},
      {"weight", "1e3", "\"1e3\"" + kXsd + "float>", ""},
      {"children", "0", "\"0\"" + kXsd + "nonNegativeInteger>", ""},
      {"children", "-1", "\"-1\"",
       bad + "-1' is no lexical form of <http://www.w3.org/2001/XMLSchema#nonNegativeInteger>, so "
             "the value of 'children' is written as a plain string"},
      {"mass", "12 kg", "\"12 kg\"^^<http://e.org/ex#Kilogram>", ""},  // unknown: as given
      {"blob", "0FB", "\"0FB\"",
       bad + "0FB' is no lexical form of <http://www.w3.org/2001/XMLSchema#hexBinary>, so the "
             "value of 'blob' is written as a plain string"},
      {"lat", "-77", "\"-77\"" + kXsd + "decimal>", ""},
      {"lat", "1.5E3", "\"1.5E3\"" + kXsd + "double>", ""},
      {"lat", "77 S", "\"77 S\"", ""},  // text is allowed
  };
  for (const auto& c : cases) {
    OntologyItem item("ex::Person");
    item.SetAttribute(c.attribute, c.value);
    const Texts statements = RoundTrip({{&item, ""}});
    ASSERT_EQ(2u, statements.size()) << c.value;
    EXPECT_EQ("_:1 <http://e.org/ex#" + std::string(c.attribute) + "> " + c.object, statements[1]);
    EXPECT_EQ(c.warning.empty() ? Texts{} : Texts{c.warning}, warnings_) << c.value;
  }
}

// A reference is written as an IRI; its text is an IRI, a prefixed name of
// a library, or one of the allowed values by name. Anything else fails the
// export, naming the class, the attribute, the value and what it may be.
TEST_F(ItemWriter, ReferencesAreWrittenAsIrisOrRefused) {
  const struct {
    const char* attribute;
    const char* value;
    const char* iri;  // empty: refused with `error`
    const char* error;
  } cases[] = {
      {"page", "https://e.org/a?b=c#d", "https://e.org/a?b=c#d", ""},
      {"page", "<urn:isbn:123>", "urn:isbn:123", ""},
      {"seeAlso", "place:Place", "http://e.org/place/Place", ""},
      {"colour", "Blue", "http://e.org/ex#Blue", ""},
      {"colour", "ex:Red", "http://e.org/ex#Red", ""},
      {"colour", "http://e.org/place/Red", "http://e.org/place/Red", ""},
      {"page", "e.org/a", "",
       "ex::Person: the value 'e.org/a' of 'page' names no resource: give an absolute IRI or "
       "library:Name"},
      {"page", "http://e.org/a b", "",
       "ex::Person: the value 'http://e.org/a b' of 'page' names no resource: give an absolute IRI "
       "or library:Name"},
      {"colour", "Red", "",  // two have that name
       "ex::Person: the value 'Red' of 'colour' names no resource: give one of ex:Blue, ex:Red, "
       "place:Red"},
      {"colour", "http://e.org/ex#Green", "",
       "ex::Person: the value 'http://e.org/ex#Green' of 'colour' names no resource: give one of "
       "ex:Blue, ex:Red, place:Red"},
  };
  for (const auto& c : cases) {
    OntologyItem item("ex::Person");
    item.SetAttribute(c.attribute, c.value);
    if (*c.iri != '\0') {
      EXPECT_EQ((Texts{"_:1" + kType + "<http://e.org/ex#Person>",
                       "_:1 <http://e.org/ex#" + std::string(c.attribute) + "> <" + c.iri + ">"}),
                RoundTrip({{&item, ""}}));
      continue;
    }
    for (const int syntax : {-1, static_cast<int>(RdfSyntax::kNTriples)}) {
      WrittenItems written;
      const qaxoi::Status status =
          syntax < 0 ? WriteItemsJsonLd({{&item, ""}}, *loaded_.model, &written)
                     : WriteItems({{&item, ""}}, *loaded_.model, RdfSyntax::kNTriples, &written);
      EXPECT_EQ(c.error, status.message());
      EXPECT_EQ("", written.text);
    }
  }
}

// What a user reads: the JSON-LD document of two items, whole. Nested items
// are embedded, lists are arrays, references are {"@id": ...}, booleans and
// canonical integers are JSON's own, other literals keep their datatype.
// (rdflib reads harder cases back in jsonld_matches_turtle.py.)
TEST_F(ItemWriter, JsonLdDocumentsAreWrittenAsTheUserSeesThem) {
  OntologyItem ada("ex::Person");
  ada.SetAttribute("alive", "1");
  ada.SetAttribute("age", "36");
  ada.SetAttribute("height", "1.65");
  ada.SetAttribute("children", "007");
  ada.SetAttribute("colour", "Blue");
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
      "      \"ex:alive\": true,\n"
      "      \"ex:age\": 36,\n"
      "      \"ex:height\": {\n        \"@value\": \"1.65\",\n"
      "        \"@type\": \"xsd:double\"\n      },\n"
      "      \"ex:children\": {\n        \"@value\": \"007\",\n"
      "        \"@type\": \"xsd:nonNegativeInteger\"\n      },\n"
      "      \"ex:colour\": {\n        \"@id\": \"ex:Blue\"\n      },\n"
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
