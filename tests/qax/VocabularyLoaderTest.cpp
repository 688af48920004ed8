#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace QAX {
namespace Ontology {
namespace {

constexpr char kPrefixes[] =
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
    "@prefix schema: <http://schema.org/> .\n"
    "@prefix ex: <http://example.org/ns#> .\n";

// The whole model as text, one line per class in library order:
//   FQNAME[ < PARENT FQNAME][ "DOC"]
// and one line per attribute: "  name scope kind typeName".
std::string Describe(const OntologyModel& model) {
  std::string text;
  for (const MetaClassLibrary* library : model.GetLibraries()) {
    for (const MetaClass* cls : library->GetClasses()) {
      const Info::MetaClassInfo& info = cls->GetInfo();
      EXPECT_EQ(info.scopeName, library->GetName());
      EXPECT_EQ(model.GetMetaClass(info.handle), cls);
      text += cls->GetFQName();
      if (const MetaClass* parent = cls->GetParent()) {
        EXPECT_EQ(info.parentScopeName + "::" + info.parentName, parent->GetFQName());
        text += " < " + parent->GetFQName();
      }
      if (!info.doc.empty()) text += " \"" + info.doc + "\"";
      text += "\n";
      for (const MetaAttr* attribute : cls->GetAttributes()) {
        const Info::MetaAttrInfo& a = attribute->GetInfo();
        text += "  " + a.name + " " + a.scopeName + " " + std::to_string(a.kind) + " " +
                a.typeName + "\n";
      }
    }
  }
  return text;
}

class VocabularyLoaderTest : public ::testing::Test {
 protected:
  // Loads `document` and answers its description, or "error: ..." for none.
  std::string Load(const std::string& document, RdfSyntax syntax = RdfSyntax::kTurtle,
                   const std::string& name = "doc.ttl", const std::string& base = "") {
    result_ = OntologyModel::LoadText(document, syntax, name, base);
    EXPECT_TRUE(result_.model != nullptr || result_.warnings.empty());
    return result_.model != nullptr ? Describe(*result_.model) : "error: " + result_.error;
  }
  // Loads the usual prefixes followed by `body` as Turtle.
  std::string Turtle(const std::string& body) {
    return Load(kPrefixes + body, RdfSyntax::kTurtle, "doc.ttl", "http://example.org/base/");
  }
  LoadResult result_;
};

// Classes are rdfs and owl classes, not datatypes, instances or blank nodes;
// the parent is the first superclass that is a class of the model (declared
// before or after), the others go to the doc, and a loop of parents is cut.
TEST_F(VocabularyLoaderTest, ClassesGetParentsDocsAndLoopsCut) {
  EXPECT_EQ(Turtle("ex:Agent a owl:Class, rdfs:Class .\n"
                   "ex:C a rdfs:Datatype .\n"
                   "ex:D a ex:Thing .\n"
                   "_:anon a owl:Class ; rdfs:subClassOf ex:Agent .\n"
                   "ex:Person a owl:Class ; rdfs:subClassOf ex:Agent ;\n"
                   "  rdfs:comment \"Une personne\"@fr, \"A person\"@en-GB, \"Plain\" .\n"
                   "ex:Robot a owl:Class ; rdfs:comment \"Ein Roboter\"@de, \"Plain robot\" .\n"
                   "ex:Band a owl:Class ; rdfs:comment \"A band.\" ;\n"
                   "  rdfs:subClassOf [ a owl:Restriction ], <http://other.org/x#Ensemble>,\n"
                   "                  ex:Group, schema:MusicGroup, ex:Group .\n"
                   "ex:Group a owl:Class .\n"
                   "schema:MusicGroup a rdfs:Class .\n"
                   "ex:A a rdfs:Class ; rdfs:subClassOf ex:B .\n"
                   "ex:B a rdfs:Class ; rdfs:subClassOf ex:C2 .\n"
                   "ex:C2 a rdfs:Class ; rdfs:subClassOf ex:A .\n"
                   "ex:Self a rdfs:Class ; rdfs:subClassOf ex:Self .\n"),
            "ex::Agent\n"
            "ex::Person < ex::Agent \"A person\"\n"
            "ex::Robot \"Plain robot\"\n"
            "ex::Group\n"
            "ex::Band < ex::Group \"A band. Also a subclass of <http://other.org/x#Ensemble>, "
            "schema.MusicGroup.\"\n"
            "ex::C2 \"Also a subclass of ex.A.\"\n"
            "ex::B < ex::C2\n"
            "ex::A < ex::B\n"
            "ex::Self\n"
            "schema::MusicGroup\n");
  EXPECT_EQ(result_.warnings,
            (std::vector<std::string>{
                "doc.ttl: <http://example.org/ns#C2> rdfs:subClassOf <http://example.org/ns#A> "
                "would close a loop of parents; <http://example.org/ns#C2> is left without a "
                "parent",
                "doc.ttl: <http://example.org/ns#Self> rdfs:subClassOf "
                "<http://example.org/ns#Self> would close a loop of parents; "
                "<http://example.org/ns#Self> is left without a parent"}));
}

// A declared prefix beats the well-known one; a well-known prefix taken by a
// declaration falls back to the namespace IRI.
TEST_F(VocabularyLoaderTest, LibrariesAreNamedByDeclaredThenWellKnownPrefixThenIri) {
  EXPECT_EQ(Load("@prefix my: <http://schema.org/> .\n"
                 "@prefix foaf: <http://example.org/notfoaf/> .\n"
                 "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                 "my:Person a rdfs:Class .\n"
                 "foaf:Person a rdfs:Class .\n"
                 "<http://xmlns.com/foaf/0.1/Person> a rdfs:Class .\n"
                 "<http://www.w3.org/ns/prov#Person> a rdfs:Class .\n"
                 "<http://unknown.org/v1/Thing> a rdfs:Class .\n"
                 "<urn:isbn:Thing> a rdfs:Class .\n"),
            "my::Person\nfoaf::Person\nhttp://xmlns.com/foaf/0.1/::Person\nprov::Person\n"
            "http://unknown.org/v1/::Thing\nurn:isbn:::Thing\n");
}

// Properties become attributes of each domain that is a class, sorted by
// IRI; the kind comes from the ranges: a mapped datatype (the lowest kind of
// several) before an unmapped datatype, before a class, before anything else.
TEST_F(VocabularyLoaderTest, PropertiesBecomeAttributesWithTheKindOfTheirRange) {
  EXPECT_EQ(Turtle("ex:Person a rdfs:Class .\n"
                   "ex:Place a rdfs:Class .\n"
                   "ex:zip a owl:DatatypeProperty ; rdfs:domain ex:Place .\n"
                   "ex:name a rdf:Property ; schema:domainIncludes ex:Person, ex:Place ;\n"
                   "  rdfs:domain ex:Person .\n"
                   "schema:about a owl:ObjectProperty ; rdfs:domain ex:Person ;\n"
                   "  rdfs:range ex:Place .\n"
                   "ex:alias a rdf:Property ; rdfs:domain ex:Person .\n"
                   "ex:untyped rdfs:domain ex:Person .\n"
                   "ex:note a owl:AnnotationProperty ; rdfs:domain ex:Person .\n"
                   "ex:elsewhere a rdf:Property ; rdfs:domain ex:NotAClass .\n"),
            "ex::Person\n  alias ex 0 \n  name ex 0 \n  about schema 5 Place\n"
            "ex::Place\n  name ex 0 \n  zip ex 0 \n");

  const std::vector<std::tuple<std::string, int, std::string>> ranges = {
      {"rdf:langString", 0, "langString"},
      {"xsd:boolean", 1, "boolean"},
      {"<https://schema.org/URL>", 0, "URL"},
      {"xsd:negativeInteger", 2, "negativeInteger"},
      {"schema:Number", 3, "Number"},
      {"xsd:gYear", 4, "gYear"},
      {"ex:Person", 5, "Person"},
      {"ex:Kilogram", 6, "Kilogram"},            // typed rdfs:Datatype
      {"ex:Elsewhere", 6, "Elsewhere"},          // not a class of the model
      {"ex:Pronounceable", 0, "Pronounceable"},  // derives from schema:Text
      {"ex:Person, schema:Integer, schema:Number", 2, "Integer"},
      {"schema:Number, xsd:string", 0, "string"},
      {"ex:Person, xsd:hexBinary", 6, "hexBinary"},
      {"ex:Elsewhere, ex:Person", 5, "Person"},
  };
  std::string body =
      "ex:Person a rdfs:Class .\n"
      "schema:Text a rdfs:Class .\n"
      "ex:Pronounceable a rdfs:Class ; rdfs:subClassOf schema:Text .\n"
      "ex:Kilogram a rdfs:Datatype .\n"
      "ex:Holder a rdfs:Class .\n";
  std::string expected;
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const std::string name = "p" + std::to_string(10 + i);
    body += "ex:" + name + " a rdf:Property ; schema:domainIncludes ex:Holder ;" +
            " schema:rangeIncludes " + std::get<0>(ranges[i]) + " .\n";
    expected += "  " + name + " ex " + std::to_string(std::get<1>(ranges[i])) + " " +
                std::get<2>(ranges[i]) + "\n";
  }
  const std::string model = Turtle(body);
  EXPECT_NE(model.find("ex::Holder\n" + expected), std::string::npos) << model;
}

// Bad input gives no model, not even of the good part before the fault, and
// an error that says where.
TEST_F(VocabularyLoaderTest, BadInputGivesNoModelAndAnErrorWithItsPlace) {
  const struct {
    std::string document;
    RdfSyntax syntax;
    const char* error;
  } cases[] = {
      {"@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n<http://a.org/A> a rdfs:Class "
       ".\n<http://a.org/B> a rdfs:Class\n<http://a.org/C> a rdfs:Class .\n",
       RdfSyntax::kTurtle, "doc.ttl:4:1: missing ';' or '.'"},
      {"<http://a.org/A> a <http://a.org/B> .\nun:X a <http://a.org/B> .\n", RdfSyntax::kTurtle,
       "doc.ttl:2:24: undefined prefix in \"un:X\""},
      {"<http://a.org/A> a <B> .\n", RdfSyntax::kTurtle,
       "doc.ttl:1:23: relative IRI <B> and no base IRI to resolve it against"},
      {std::string("<http://a.org/A> a <http://a.org/B> .\n  \0 .", 43), RdfSyntax::kTurtle,
       "doc.ttl:2:3: NUL byte in the document"},
      // An overlong '/' and a lone surrogate are not UTF-8.
      {"# \xC0\xAF\n", RdfSyntax::kTurtle, "doc.ttl:1:3: invalid UTF-8 at byte 0xC0"},
      {"# ok \xC3\xA9 \xED\xA0\x80\n", RdfSyntax::kTurtle,
       "doc.ttl:1:9: invalid UTF-8 at byte 0xED"},
      {"@prefix a: <http://a.org/> .\n", RdfSyntax::kNTriples,
       "doc.ttl:1:2: syntax does not support directives"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Load(c.document, c.syntax), std::string("error: ") + c.error);
}

// Union domains and ranges give every named member, nested unions and lists
// in loose statements included; other anonymous classes are counted by kind.
TEST_F(VocabularyLoaderTest, UnionsGiveEveryNamedMemberOtherClassExpressionsAreCounted) {
  const std::string classes = "ex:A a owl:Class . ex:B a owl:Class . ex:C a owl:Class .\n";
  EXPECT_EQ(
      Turtle(classes +
             "ex:p a owl:DatatypeProperty ; rdfs:range xsd:string ;\n"
             "  rdfs:domain [ a owl:Class ; owl:unionOf ( ex:A [ owl:unionOf ( ex:B ) ] ) ] .\n"
             "ex:q a owl:ObjectProperty ; rdfs:domain ex:C ;\n"
             "  rdfs:range [ owl:unionOf ( ex:A ex:B ) ] .\n"
             // The same list as loose statements, in an order no writer would pick.
             "_:l2 rdf:rest rdf:nil . _:l1 rdf:rest _:l2 . _:l2 rdf:first ex:B .\n"
             "ex:r rdfs:domain _:u . _:l1 rdf:first ex:A . _:u owl:unionOf _:l1 .\n"
             "ex:r a rdf:Property .\n"),
      "ex::A\n  p ex 0 string\n  r ex 0 \nex::B\n  p ex 0 string\n  r ex 0 \n"
      "ex::C\n  q ex 5 A\n");
  EXPECT_EQ(std::vector<std::string>{}, result_.warnings);

  EXPECT_EQ(
      Turtle(classes +
             "ex:p a owl:ObjectProperty ; rdfs:domain [ owl:intersectionOf ( ex:A ex:B ) ] .\n"
             "ex:q a owl:ObjectProperty ; rdfs:domain [ owl:intersectionOf ( ex:B ex:C ) ] ;\n"
             "  rdfs:range [ owl:complementOf ex:A ] .\n"
             "ex:r a owl:ObjectProperty ;\n"
             "  rdfs:domain [ a owl:Restriction ; owl:onProperty ex:p ] .\n"
             "ex:s a owl:ObjectProperty ;\n"
             "  rdfs:domain [ owl:unionOf ( ex:A [ owl:oneOf ( ex:x ) ] ) ] .\n"),
      "ex::A\n  s ex 0 \nex::B\nex::C\n");  // the union's named member only
  const std::string in = " class expression in domains and ranges (for example in the ";
  EXPECT_EQ(
      (std::vector<std::string>{
          "doc.ttl: ignored 2 owl:intersectionOf class expressions in domains and ranges "
          "(for example in the domain of <http://example.org/ns#p>)",
          "doc.ttl: ignored 1 owl:complementOf" + in + "range of <http://example.org/ns#q>)",
          "doc.ttl: ignored 1 owl:oneOf enumeration in domains and ranges (for example in "
          "the domain of <http://example.org/ns#s>)",
          "doc.ttl: ignored 1 owl:Restriction" + in + "domain of <http://example.org/ns#r>)"}),
      result_.warnings);
}

// A malformed list is ignored with a warning, never followed for ever.
TEST_F(VocabularyLoaderTest, MalformedListsAreIgnoredWithAWarning) {
  const struct {
    const char* what;
    const char* statements;
  } cases[] = {
      {"a cycle of rdf:rest", "_:c rdf:first ex:A . _:c rdf:rest _:c ."},
      {"a list cell with two rdf:first",
       "_:c rdf:first ex:A . _:c rdf:first ex:B . _:c rdf:rest rdf:nil ."},
      {"a list that does not end in rdf:nil", "_:c rdf:first ex:A . _:c rdf:rest ex:A ."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Turtle(std::string("ex:A a owl:Class .\n"
                                 "ex:p rdfs:domain _:u . _:u owl:unionOf _:c .\n") +
                     c.statements),
              "ex::A\n")
        << c.what;
    EXPECT_EQ(std::vector<std::string>{std::string("doc.ttl: the owl:unionOf in the domain of "
                                                   "<http://example.org/ns#p> is malformed (") +
                                       c.what + "); it is ignored"},
              result_.warnings);
  }
}

}  // namespace
}  // namespace Ontology
}  // namespace QAX
