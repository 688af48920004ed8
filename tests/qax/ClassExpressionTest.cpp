// OWL class expressions in domains and ranges: unions are read, everything
// else anonymous is counted in the warnings, malformed lists are refused
// without a hang.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace {

using QAX::Ontology::LoadResult;
using Texts = std::vector<std::string>;

// Loads `statements` behind the usual prefixes and three classes ex:A, ex:B
// and ex:C.
LoadResult Load(const std::string& statements) {
  LoadResult loaded = QAX::Ontology::OntologyModel::LoadText(
      "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
      "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
      "@prefix ex: <http://e.org/> .\n"
      "ex:A a owl:Class . ex:B a owl:Class . ex:C a owl:Class .\n" +
          statements,
      QAX::Ontology::RdfSyntax::kTurtle, "t.ttl");
  EXPECT_NE(nullptr, loaded.model) << loaded.error;
  return loaded;
}

// "name:kind" for each attribute of ex:A, ex:B and ex:C, one class per entry.
Texts Attributes(const LoadResult& loaded) {
  Texts classes;
  for (const char* local : {"A", "B", "C"}) {
    std::string text;
    for (const auto* attr :
         loaded.model->GetMetaClass(std::string("http://e.org/") + local)->GetAttributes()) {
      text += (text.empty() ? "" : " ") + attr->GetInfo().name + ":" +
              std::to_string(attr->GetInfo().kind);
    }
    classes.push_back(text);
  }
  return classes;
}

TEST(ClassExpressions, UnionDomainsAndRangesGiveEveryNamedMember) {
  const LoadResult loaded = Load(
      "ex:p a owl:DatatypeProperty ; rdfs:range xsd:string ;\n"
      "  rdfs:domain [ a owl:Class ; owl:unionOf ( ex:A [ owl:unionOf ( ex:B ) ] ) ] .\n"
      "ex:q a owl:ObjectProperty ; rdfs:domain ex:C ; rdfs:range [ owl:unionOf ( ex:A ex:B ) ] .\n"
      // The same list as loose statements, in an order no writer would pick.
      "_:l2 rdf:rest rdf:nil . _:l1 rdf:rest _:l2 . _:l2 rdf:first ex:B .\n"
      "ex:r rdfs:domain _:u . _:l1 rdf:first ex:A . _:u owl:unionOf _:l1 .\n"
      "ex:r a rdf:Property .\n");
  // The nested union reaches ex:B; a union of classes as range is a nested item.
  EXPECT_EQ((Texts{"p:0 r:0", "p:0 r:0", "q:5"}), Attributes(loaded));
  EXPECT_EQ(Texts{}, loaded.warnings);
}

TEST(ClassExpressions, OtherAnonymousClassesAreCountedByKind) {
  const LoadResult loaded = Load(
      "ex:p a owl:ObjectProperty ; rdfs:domain [ owl:intersectionOf ( ex:A ex:B ) ] .\n"
      "ex:q a owl:ObjectProperty ; rdfs:domain [ owl:intersectionOf ( ex:B ex:C ) ] ;\n"
      "  rdfs:range [ owl:complementOf ex:A ] .\n"
      "ex:r a owl:ObjectProperty ; rdfs:domain [ a owl:Restriction ; owl:onProperty ex:p ] .\n"
      "ex:s a owl:ObjectProperty ; rdfs:domain [ owl:unionOf ( ex:A [ owl:oneOf ( ex:x ) ] ) ] "
      ".\n");
  EXPECT_EQ((Texts{"s:0", "", ""}), Attributes(loaded));  // the union's named member only
  const std::string in = " class expression in domains and ranges (for example in the ";
  EXPECT_EQ((Texts{"t.ttl: ignored 2 owl:intersectionOf class expressions in domains and ranges "
                   "(for example in the domain of <http://e.org/p>)",
                   "t.ttl: ignored 1 owl:complementOf" + in + "range of <http://e.org/q>)",
                   "t.ttl: ignored 1 owl:oneOf enumeration in domains and ranges (for example in "
                   "the domain of <http://e.org/s>)",
                   "t.ttl: ignored 1 owl:Restriction" + in + "domain of <http://e.org/r>)"}),
            loaded.warnings);
}

TEST(ClassExpressions, MalformedListsAreIgnoredWithAWarning) {
  const struct {
    const char* what;
    const char* statements;
  } cases[] = {
      {"a cycle of rdf:rest", "_:c rdf:first ex:A . _:c rdf:rest _:c ."},
      {"a list cell with two rdf:first",
       "_:c rdf:first ex:A . _:c rdf:first ex:B . _:c rdf:rest rdf:nil ."},
      {"a list that never reaches rdf:nil", "_:c rdf:first ex:A ."},
      {"a list that does not end in rdf:nil", "_:c rdf:first ex:A . _:c rdf:rest ex:A ."},
  };
  for (const auto& c : cases) {
    const LoadResult loaded =
        Load(std::string("ex:p rdfs:domain _:u . _:u owl:unionOf _:c .\n") + c.statements);
    EXPECT_EQ((Texts{"", "", ""}), Attributes(loaded)) << c.what;
    EXPECT_EQ(Texts{std::string("t.ttl: the owl:unionOf in the domain of <http://e.org/p> is "
                                "malformed (") +
                    c.what + "); it is ignored"},
              loaded.warnings);
  }
}

}  // namespace
