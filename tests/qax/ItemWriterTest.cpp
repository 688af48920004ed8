// Items written as Turtle and N-Triples, read back by a strict parser.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"
#include "tests/support/ParsedRdf.h"

namespace {

using QAX::Onto::OntologyItem;
using QAX::Ontology::RdfSyntax;
using QAX::Ontology::WriteItems;
using Texts = std::vector<std::string>;

const std::string kXsd = "^^<http://www.w3.org/2001/XMLSchema#";
const std::string kType = " <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> ";

class ItemWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    loaded_ = QAX::Ontology::OntologyModel::LoadText(
        "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
        "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
        "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
        "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
        "@prefix ex: <http://e.org/ns#> .\n"
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
        "place:label a rdf:Property ; rdfs:domain place:Place ; rdfs:range xsd:string .\n",
        RdfSyntax::kTurtle, "people.ttl");
    ASSERT_NE(nullptr, loaded_.model) << loaded_.error;
  }
  // Writes `items` in both syntaxes; answers the statements read back, which
  // must be the same from both.
  Texts RoundTrip(const std::vector<QAX::Ontology::ItemSubject>& items) {
    const auto turtle = WriteItems(items, *loaded_.model, RdfSyntax::kTurtle);
    const auto ntriples = WriteItems(items, *loaded_.model, RdfSyntax::kNTriples);
    EXPECT_EQ("", turtle.error);
    EXPECT_EQ(turtle.warnings, ntriples.warnings);
    warnings_ = turtle.warnings;
    const Texts statements = qax_test::ParsedStatements(turtle.text);
    EXPECT_EQ(statements, qax_test::ParsedStatements(ntriples.text, true)) << ntriples.text;
    return statements;
  }

  QAX::Ontology::LoadResult loaded_;
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

  EXPECT_EQ((Texts{"_:1" + kType + "<http://e.org/ns#Person>",
                   "_:1 <http://e.org/ns#name> \"" + name + "\"",
                   "_:1 <http://e.org/ns#alive> \"true\"" + kXsd + "boolean>",
                   "_:1 <http://e.org/ns#blob> \"0FB7\"",  // a datatype the service does not map
                   "_:1 <http://e.org/ns#home> _:2", "_:2" + kType + "<http://e.org/place/Place>",
                   "_:2 <http://e.org/place/label> \"caf\xEF\xBF\xBD\"",
                   "<http://e.org/people/1>" + kType + "<http://e.org/ns#Thing>",
                   "<http://e.org/people/1> <http://e.org/ns#name> \"one\"",
                   "<http://e.org/people/1> <http://e.org/ns#name> \"two\""}),
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
    EXPECT_EQ("_:1 <http://e.org/ns#" + std::string(value.first) + "> " + object, statements[1]);
  }
}

TEST_F(ItemWriter, RefusesWhatItCannotWriteWhole) {
  OntologyItem known("ex::Thing"), unknown("ex::Nobody"), parent("ex::Person");
  parent.SetAttribute("home", new OntologyItem("place::Nowhere"));
  const struct {
    std::vector<QAX::Ontology::ItemSubject> items;
    RdfSyntax syntax;
    const char* error;
  } cases[] = {
      {{{nullptr, ""}}, RdfSyntax::kTurtle, "an item to write is null"},
      {{{&known, "http://e.org/a b"}},
       RdfSyntax::kTurtle,
       "'http://e.org/a b' is no absolute IRI that RDF can write"},
      {{{&known, ""}, {&unknown, ""}},
       RdfSyntax::kTurtle,
       "the ontology has no class 'ex::Nobody' for an item to write"},
      {{{&parent, ""}},
       RdfSyntax::kNTriples,
       "the ontology has no class 'place::Nowhere' for an item to write"},
  };
  for (const auto& c : cases) {
    const auto written = WriteItems(c.items, *loaded_.model, c.syntax);
    EXPECT_EQ(c.error, written.error);
    EXPECT_EQ("", written.text);
  }
}

}  // namespace
