// Graphs compared as graphs: what a store gives back is equal to what was
// published whatever labels, order and spelling the store chose, and
// unequal as soon as one statement, anywhere in a tree of blank nodes,
// differs.
#include "tests/support/SameGraph.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using qaxoi::test::Canonical;
using qaxoi::test::GraphDifference;

const std::string kPrefixes =
    "@prefix ex: <http://e.org/ex#> .\n@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n";

TEST(SameGraph, WritingsOfOneGraphAreEqual) {
  const std::string published = kPrefixes +
                                "<http://e.org/a> a ex:Person ; ex:name \"Ad\\\"a\\n\" ;\n"
                                "  ex:home [ a ex:Place ; ex:in [ ex:label \"Europe\" ] ] .\n"
                                "[ a ex:Person ; ex:age 7 ] .\n";
  const struct {
    const char* what;
    std::string text;
    bool ntriples;
  } writings[] = {
      {"N-Triples with labels and order of their own",
       "_:z <http://e.org/ex#age> \"7\"^^<http://www.w3.org/2001/XMLSchema#integer> .\n"
       "_:q <http://e.org/ex#label> \"Europe\"^^<http://www.w3.org/2001/XMLSchema#string> .\n"
       "_:p <http://e.org/ex#in> _:q .\n"
       "<http://e.org/a> <http://e.org/ex#home> _:p .\n"
       "_:p <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> <http://e.org/ex#Place> .\n"
       "<http://e.org/a> <http://e.org/ex#name> \"Ad\\\"a\\n\" .\n"
       "_:z <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> <http://e.org/ex#Person> .\n"
       "<http://e.org/a> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
       "<http://e.org/ex#Person> .\n",
       true},
      {"Turtle with a statement twice and a long string",
       kPrefixes + "<http://e.org/a> a ex:Person, ex:Person ; ex:name \"\"\"Ad\"a\n\"\"\" ;\n"
                   "  ex:home _:h . _:h a ex:Place ; ex:in _:e . _:e ex:label \"Europe\" .\n"
                   "_:r ex:age \"7\"^^xsd:integer ; a ex:Person .\n",
       false},
  };
  for (const auto& writing : writings) {
    EXPECT_EQ("", GraphDifference(Canonical(published), Canonical(writing.text, writing.ntriples)))
        << writing.what;
  }
}

TEST(SameGraph, ADifferenceAnywhereIsShownAsTheLinesEachSideAlone) {
  const std::string published = kPrefixes +
                                "<http://e.org/a> ex:home [ ex:in [ ex:label \"Europe\" ] ] .\n"
                                "[ ex:age 7 ] . [ ex:age 7 ] .\n";
  const struct {
    const char* what;
    std::string text;
    std::string difference;
  } cases[] = {
      {"a leaf deep in a tree",
       kPrefixes + "<http://e.org/a> ex:home [ ex:in [ ex:label \"Europa\" ] ] .\n"
                   "[ ex:age 7 ] . [ ex:age 7 ] .\n",
       "- <http://e.org/a> <http://e.org/ex#home> [<http://e.org/ex#in> [<http://e.org/ex#label> "
       "\"Europe\"]]\n"
       "+ <http://e.org/a> <http://e.org/ex#home> [<http://e.org/ex#in> [<http://e.org/ex#label> "
       "\"Europa\"]]\n"},
      {"one of two blank nodes alike",
       kPrefixes + "<http://e.org/a> ex:home [ ex:in [ ex:label \"Europe\" ] ] .\n[ ex:age 7 ] .\n",
       "- [<http://e.org/ex#age> \"7\"^^<http://www.w3.org/2001/XMLSchema#integer>]\n"},
      {"a language tag",
       kPrefixes + "<http://e.org/a> ex:home [ ex:in [ ex:label \"Europe\"@EN ] ] .\n"
                   "[ ex:age 7 ] . [ ex:age 7 ] .\n",
       "- <http://e.org/a> <http://e.org/ex#home> [<http://e.org/ex#in> [<http://e.org/ex#label> "
       "\"Europe\"]]\n"
       "+ <http://e.org/a> <http://e.org/ex#home> [<http://e.org/ex#in> [<http://e.org/ex#label> "
       "\"Europe\"@en]]\n"},
      {"an integer's lexical form",
       kPrefixes + "<http://e.org/a> ex:home [ ex:in [ ex:label \"Europe\" ] ] .\n"
                   "[ ex:age 7 ] . [ ex:age \"07\"^^xsd:integer ] .\n",
       "- [<http://e.org/ex#age> \"7\"^^<http://www.w3.org/2001/XMLSchema#integer>]\n"
       "+ [<http://e.org/ex#age> \"07\"^^<http://www.w3.org/2001/XMLSchema#integer>]\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.difference, GraphDifference(Canonical(published), Canonical(c.text))) << c.what;
  }
}

TEST(SameGraph, GraphsWhoseBlankNodesAreNoTreesHaveNoCanonicalForm) {
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {kPrefixes + "<http://e.org/a> ex:p _:b . <http://e.org/c> ex:p _:b .",
       "the blank node _:b is the object of 2 statements"},
      {kPrefixes + "_:x ex:p _:y . _:y ex:p _:x .", "the blank node _:x is on a cycle"},
      {kPrefixes + "<http://e.org/a> ex:p \"open .", ""},
  };
  for (const auto& c : cases) {
    const qaxoi::test::CanonicalGraph graph = Canonical(c.text);
    EXPECT_TRUE(graph.lines.empty()) << c.text;
    if (c.error.empty()) {
      EXPECT_EQ(0u, graph.error.rfind("not read: ", 0)) << graph.error;
    } else {
      EXPECT_EQ(c.error, graph.error);
    }
  }
  std::string deep = "<http://e.org/a> <http://e.org/p> ";
  for (int i = 0; i <= qaxoi::test::kMaxBlankDepth; ++i) deep += "[ <http://e.org/p> ";
  deep += "1" + std::string(qaxoi::test::kMaxBlankDepth + 1, ']') + " .";
  EXPECT_EQ("blank nodes nest deeper than 64", Canonical(deep).error);
}

}  // namespace
