// OWL class expressions in domains and ranges: unions are read, everything
// else anonymous is counted in the warnings, malformed lists are refused
// without a hang.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace {

using QAX::Ontology::LoadResult;
using QAX::Ontology::OntologyModel;
using QAX::Ontology::RdfSyntax;

constexpr const char* kPrefixes =
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
    "@prefix ex: <http://e.org/> .\n"
    "ex:A a owl:Class . ex:B a owl:Class . ex:C a owl:Class .\n";

// "name:kind" for each attribute of ex:<local>, in order; "no class" when
// the model has none of that name.
std::string Attributes(const LoadResult& loaded, const std::string& local) {
  const QAX::Ontology::MetaClass* metaClass = loaded.model->GetMetaClass("http://e.org/" + local);
  if (metaClass == nullptr) return "no class";
  std::string text;
  for (const QAX::Ontology::MetaAttr* attr : metaClass->GetAttributes()) {
    text += (text.empty() ? "" : " ") + attr->GetInfo().name + ":" +
            std::to_string(attr->GetInfo().kind);
  }
  return text;
}

LoadResult Load(const std::string& statements, RdfSyntax syntax = RdfSyntax::kTurtle) {
  LoadResult loaded = OntologyModel::LoadText(
      (syntax == RdfSyntax::kTurtle ? std::string(kPrefixes) : std::string()) + statements, syntax,
      "t.ttl");
  EXPECT_NE(nullptr, loaded.model) << loaded.error;
  return loaded;
}

TEST(ClassExpressions, UnionDomainsAndRangesGiveEveryNamedMember) {
  const LoadResult loaded = Load(
      "ex:p a owl:DatatypeProperty ; rdfs:range xsd:string ;\n"
      "  rdfs:domain [ a owl:Class ; owl:unionOf ( ex:A [ owl:unionOf ( ex:B ) ] ) ] .\n"
      "ex:q a owl:ObjectProperty ; rdfs:domain ex:C ;\n"
      "  rdfs:range [ owl:unionOf ( ex:A ex:B ) ] .\n");
  ASSERT_NE(nullptr, loaded.model);
  EXPECT_EQ("p:0", Attributes(loaded, "A"));
  EXPECT_EQ("p:0", Attributes(loaded, "B"));  // through the nested union
  EXPECT_EQ("q:5", Attributes(loaded, "C"));  // a union of classes: a nested item
  EXPECT_TRUE(loaded.warnings.empty()) << loaded.warnings.front();
}

TEST(ClassExpressions, ListStatementsMayComeInAnyOrder) {
  const std::string rdf = "<http://www.w3.org/1999/02/22-rdf-syntax-ns#";
  const LoadResult loaded = Load(
      "_:l2 " + rdf + "rest> " + rdf + "nil> .\n" +  //
          "_:l1 " + rdf + "rest> _:l2 .\n" +         //
          "_:l2 " + rdf + "first> <http://e.org/B> .\n" +
          "<http://e.org/p> <http://www.w3.org/2000/01/rdf-schema#domain> _:u .\n" + "_:l1 " + rdf +
          "first> <http://e.org/A> .\n" + "_:u <http://www.w3.org/2002/07/owl#unionOf> _:l1 .\n" +
          "<http://e.org/p> " + rdf + "type> " + rdf + "Property> .\n" + "<http://e.org/A> " + rdf +
          "type> <http://www.w3.org/2002/07/owl#Class> .\n" + "<http://e.org/B> " + rdf +
          "type> <http://www.w3.org/2002/07/owl#Class> .\n",
      RdfSyntax::kNTriples);
  ASSERT_NE(nullptr, loaded.model);
  EXPECT_EQ("p:0", Attributes(loaded, "A"));
  EXPECT_EQ("p:0", Attributes(loaded, "B"));
}

TEST(ClassExpressions, OtherAnonymousClassesAreCountedByKind) {
  const LoadResult loaded = Load(
      "ex:p a owl:ObjectProperty ; rdfs:domain [ owl:intersectionOf ( ex:A ex:B ) ] .\n"
      "ex:q a owl:ObjectProperty ; rdfs:domain [ owl:intersectionOf ( ex:B ex:C ) ] ;\n"
      "  rdfs:range [ owl:complementOf ex:A ] .\n"
      "ex:r a owl:ObjectProperty ; rdfs:domain [ a owl:Restriction ; owl:onProperty ex:p ] .\n"
      "ex:s a owl:ObjectProperty ; rdfs:domain [ owl:unionOf ( ex:A [ owl:oneOf ( ex:x ) ] ) ] "
      ".\n");
  ASSERT_NE(nullptr, loaded.model);
  EXPECT_EQ("s:0", Attributes(loaded, "A"));  // the union's named member only
  EXPECT_EQ("", Attributes(loaded, "B"));
  EXPECT_EQ(std::vector<std::string>(
                {"t.ttl: ignored 2 owl:intersectionOf class expressions in domains and ranges (for "
                 "example in the domain of <http://e.org/p>)",
                 "t.ttl: ignored 1 owl:complementOf class expression in domains and ranges (for "
                 "example in the range of <http://e.org/q>)",
                 "t.ttl: ignored 1 owl:oneOf enumeration in domains and ranges (for example in the "
                 "domain of <http://e.org/s>)",
                 "t.ttl: ignored 1 owl:Restriction class expression in domains and ranges (for "
                 "example in the domain of <http://e.org/r>)"}),
            loaded.warnings);
}

TEST(ClassExpressions, MalformedListsAreIgnoredWithAWarning) {
  const std::string rdf = "<http://www.w3.org/1999/02/22-rdf-syntax-ns#";
  const std::string owl = "<http://www.w3.org/2002/07/owl#";
  const std::string domain = " <http://www.w3.org/2000/01/rdf-schema#domain> ";
  const std::string declare = "<http://e.org/A> " + rdf + "type> " + owl + "Class> .\n";
  const struct {
    const char* what;
    std::string statements;
  } cases[] = {
      {"a cycle of rdf:rest",
       "_:c " + rdf + "first> <http://e.org/A> .\n_:c " + rdf + "rest> _:c .\n"},
      {"a list cell with two rdf:first", "_:c " + rdf + "first> <http://e.org/A> .\n_:c " + rdf +
                                             "first> <http://e.org/B> .\n_:c " + rdf + "rest> " +
                                             rdf + "nil> .\n"},
      {"a list that never reaches rdf:nil", "_:c " + rdf + "first> <http://e.org/A> .\n"},
      {"a list that does not end in rdf:nil",
       "_:c " + rdf + "first> <http://e.org/A> .\n_:c " + rdf + "rest> <http://e.org/A> .\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const LoadResult loaded = Load(declare + "<http://e.org/p>" + domain + "_:u .\n_:u " + owl +
                                       "unionOf> _:c .\n" + c.statements,
                                   RdfSyntax::kNTriples);
    ASSERT_NE(nullptr, loaded.model);
    EXPECT_EQ("", Attributes(loaded, "A"));
    ASSERT_EQ(1u, loaded.warnings.size());
    EXPECT_EQ(
        std::string("t.ttl: the owl:unionOf in the domain of <http://e.org/p> is malformed (") +
            c.what + "); it is ignored",
        loaded.warnings[0]);
  }
}

}  // namespace
