// Shapes graphs that are not well-formed SHACL, or that ask for more than
// the bounds of docs/validation.md, are refused with one line naming the
// shape and what is wrong.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/Validator.h"
#include "tests/qax/shacl/ShaclCases.h"

namespace {

using qaxoi::shacl::Graph;
using qaxoi::shacl::Shapes;
using qaxoi::shacl::TermId;
using qaxoi::shacl::Validate;

constexpr char kInteger[] = "http://www.w3.org/2001/XMLSchema#integer";

struct Refusal {
  const char* name;
  std::string shapes;
  // The whole error line, or with a leading '*' a part of it.
  std::string error;
};

// `count` shapes, each naming the next with sh:node.
std::string Chain(int count) {
  std::string shapes = "ex:S0 sh:targetNode ex:a .\n";
  for (int i = 0; i + 1 < count; ++i)
    shapes += "ex:S" + std::to_string(i) + " sh:node ex:S" + std::to_string(i + 1) + " .\n";
  return shapes + "ex:S" + std::to_string(count - 1) + " sh:nodeKind sh:IRI .\n";
}

// A property shape whose path shares its nodes: `levels` levels of
// alternatives of the next level twice, 2^levels steps when read out.
std::string SharedPath(int levels) {
  std::string shapes = "ex:P sh:targetNode ex:a ; sh:path _:p0 .\n";
  for (int i = 0; i < levels; ++i) {
    const std::string next = "_:p" + std::to_string(i + 1);
    shapes += "_:p" + std::to_string(i) + " sh:alternativePath ( " + next + " " + next + " ) .\n";
  }
  return shapes + "_:p" + std::to_string(levels) + " sh:inversePath ex:q .\n";
}

// Reads a shapes graph holding ex:P, a property shape of ex:p targeting
// ex:a, whose sh:in lists `count` members (built in memory: a Turtle
// document with that many list nodes is beyond the loader's own budget).
// The error, or the result lines of validating "ex:a ex:p 1".
std::vector<std::string> LongList(uint32_t count) {
  Graph shapes;
  const std::string sh = "http://www.w3.org/ns/shacl#";
  const std::string rdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
  const TermId p = shapes.Iri("http://e.org/P");
  shapes.Add(p, shapes.Iri(sh + "path"), shapes.Iri("http://e.org/p"));
  shapes.Add(p, shapes.Iri(sh + "targetNode"), shapes.Iri("http://e.org/a"));
  TermId list = shapes.Iri(rdf + "nil");
  for (uint32_t i = count; i > 0; --i) {
    const TermId node = shapes.Blank("l" + std::to_string(i));
    shapes.Add(node, shapes.Iri(rdf + "first"), shapes.Literal(std::to_string(i), kInteger));
    shapes.Add(node, shapes.Iri(rdf + "rest"), list);
    list = node;
  }
  shapes.Add(p, shapes.Iri(sh + "in"), list);
  shapes.Seal();
  std::unique_ptr<Shapes> read;
  const qaxoi::Status status = Shapes::Read(shapes, &read);
  if (!status.ok()) return {status.message()};
  Graph data;
  data.Add(data.Iri("http://e.org/a"), data.Iri("http://e.org/p"), data.Literal("1", kInteger));
  data.Seal();
  return qaxoi::test::ShaclCases::Lines(Validate(data, *read));
}

TEST(ShapesThatAreNotSHACL, AreRefusedWithOneLineNamingTheShape) {
  const std::string p = "shape <http://e.org/P>: ";
  const std::string s = "shape <http://e.org/S>: ";
  const std::vector<Refusal> table = {
      {"a count as a string", "ex:P sh:path ex:p ; sh:minCount \"1\" .",
       p + "sh:minCount must be a non-negative xsd:integer literal, not \"1\""},
      {"a negative count", "ex:P sh:path ex:p ; sh:maxLength -1 .",
       p + "sh:maxLength must be a non-negative xsd:integer literal, not \"-1\"^^xsd:integer"},
      {"a count past 64 bits", "ex:P sh:path ex:p ; sh:minCount 18446744073709551617 .",
       p + "sh:minCount \"18446744073709551617\"^^xsd:integer is more than "
           "18446744073709551615, the largest count read"},
      {"a blank node shape, named as reports name it", "_:n sh:targetNode ex:a ; sh:minCount 1 .",
       "shape _:s_n: sh:minCount is for property shapes; this shape has no sh:path"},
      {"two paths", "ex:P sh:path ex:p, ex:q ; sh:minCount 1 .",
       p + "sh:path has 2 values; it may have one"},
      {"a list node with two rdf:first",
       "ex:P sh:path ex:p ; sh:in ex:l . ex:l rdf:first 1, 2 ; rdf:rest rdf:nil .",
       p + "the list of sh:in is not a well-formed RDF list: <http://e.org/l> has 2 rdf:first "
           "and 1 rdf:rest"},
      {"a cyclic list", "ex:P sh:path ex:p ; sh:in ex:l . ex:l rdf:first 1 ; rdf:rest ex:l .",
       p + "the list of sh:in is cyclic"},
      {"sh:in that is no list", "ex:P sh:path ex:p ; sh:in \"a\" .",
       p + "the list of sh:in is not an RDF list: \"a\" is a literal"},
      {"a datatype that is not an IRI", "ex:P sh:path ex:p ; sh:datatype \"xsd:string\" .",
       p + "sh:datatype must be an IRI, not \"xsd:string\""},
      {"a pattern that is not a literal", "ex:P sh:path ex:p ; sh:pattern ex:x .",
       p + "sh:pattern must be an xsd:string literal, not <http://e.org/x>"},
      {"an unknown flag", "ex:P sh:path ex:p ; sh:pattern \"a\" ; sh:flags \"g\" .",
       p + "unknown sh:flags letter 'g' (known: s, m, i, x, q)"},
      {"a pattern that does not compile", "ex:P sh:path ex:p ; sh:pattern \"(a\" .",
       "*" + p + "sh:pattern does not compile at offset 2: "},
      {"a literal path", "ex:P sh:path \"p\" ; sh:minCount 1 .", p + "sh:path \"p\" is a literal"},
      {"a path node with two constructs",
       "ex:P sh:path [ sh:inversePath ex:p ; sh:zeroOrMorePath ex:q ] ; sh:minCount 1 .",
       "*is not a path: it needs exactly one of sh:inversePath"},
      {"an alternative of one path", "ex:P sh:path [ sh:alternativePath ( ex:p ) ] ; sh:in () .",
       p + "sh:alternativePath needs a list of two or more paths"},
      {"a sequence of one path", "ex:P sh:path ( ex:p ) ; sh:in () .",
       p + "a sequence path needs two or more paths"},
      {"sh:minCount on a node shape", "ex:S sh:targetNode ex:a ; sh:minCount 1 .",
       s + "sh:minCount is for property shapes; this shape has no sh:path"},
      {"sh:lessThan on a node shape", "ex:S sh:targetNode ex:a ; sh:lessThan ex:p .",
       s + "sh:lessThan is for property shapes; this shape has no sh:path"},
      {"a sh:NodeShape with a path", "ex:P a sh:NodeShape ; sh:path ex:p .",
       p + "a sh:NodeShape cannot have a sh:path"},
      {"a sh:PropertyShape without a path", "ex:P a sh:PropertyShape ; sh:minCount 1 .",
       p + "a sh:PropertyShape needs a sh:path"},
      {"sh:property naming a node shape",
       "ex:S sh:targetNode ex:a ; sh:property ex:P . ex:P sh:minLength 1 .",
       s + "sh:property names <http://e.org/P>, which has no sh:path"},
      {"sh:node naming a literal", "ex:S sh:targetNode ex:a ; sh:node \"x\" .",
       s + "sh:node names the literal \"x\", which cannot be a shape"},
      {"language ranges that are not strings", "ex:P sh:path ex:p ; sh:languageIn ( ex:en ) .",
       p + "sh:languageIn must list xsd:string literals, not <http://e.org/en>"},
      {"sh:deactivated that is not a boolean", "ex:S sh:targetNode ex:a ; sh:deactivated \"yes\" .",
       s + "sh:deactivated must be an xsd:boolean literal, not \"yes\""},
      {"qualified counts without a shape", "ex:P sh:path ex:p ; sh:qualifiedMinCount 1 .",
       p + "sh:qualifiedMinCount and sh:qualifiedMaxCount need a sh:qualifiedValueShape"},
      {"shapes naming each other", "ex:S sh:targetNode ex:a ; sh:node ex:T . ex:T sh:or ( ex:S ) .",
       "*refers to itself through the shapes it names (recursive shapes are not supported)"},
      {"a property shape naming its parent",
       "ex:S sh:targetNode ex:a ; sh:property ex:P . ex:P sh:path ex:p ; sh:node ex:S .",
       "*refers to itself through the shapes it names"},
      {"a path sharing its nodes 2^25 ways", SharedPath(25),
       p + "the paths of the shapes graph have more than 100000 steps beyond its statements"},
      {"65 levels of shapes", Chain(66),
       "shape <http://e.org/S0>: shapes nest deeper than 64 levels"},
  };
  for (const Refusal& refusal : table) {
    SCOPED_TRACE(refusal.name);
    const std::vector<std::string> lines = qaxoi::test::ShaclCases::Validate("", refusal.shapes);
    ASSERT_EQ(lines.size(), 1U);
    if (refusal.error[0] == '*') {
      EXPECT_NE(lines[0].find(refusal.error.substr(1)), std::string::npos) << lines[0];
      EXPECT_EQ(lines[0].rfind("error: shape ", 0), 0U) << lines[0];
    } else {
      EXPECT_EQ(lines[0], "error: " + refusal.error);
    }
  }
}

TEST(ShapesThatAreNotSHACL, AcceptsShapesAtTheirBounds) {
  // 64 levels of nested shapes and a list of 100,000 members are read;
  // one member more is refused.
  EXPECT_EQ(qaxoi::test::ShaclCases::Validate("ex:a ex:p 1 .", Chain(65)),
            std::vector<std::string>{});
  EXPECT_EQ(LongList(100000), std::vector<std::string>{});
  EXPECT_EQ(LongList(100001),
            std::vector<std::string>{"shape <http://e.org/P>: the list of sh:in has more than "
                                     "100000 members"});
}

}  // namespace
