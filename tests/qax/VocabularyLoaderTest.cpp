#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/QAX.h"

namespace QAX {
namespace Ontology {
namespace {

using Info::AttrKind::kBoolean;
using Info::AttrKind::kComplex;
using Info::AttrKind::kInteger;
using Info::AttrKind::kReal;
using Info::AttrKind::kTemporal;
using Info::AttrKind::kText;
using Info::AttrKind::kUnmapped;

constexpr char kPrefixes[] =
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
    "@prefix schema: <http://schema.org/> .\n"
    "@prefix ex: <http://example.org/ns#> .\n";

// One attribute as (name, scopeName, kind, typeName), for whole-list checks.
using Attr = std::tuple<std::string, std::string, int32_t, std::string>;

std::vector<Attr> AttributesOf(const MetaClass& cls) {
  std::vector<Attr> attributes;
  for (const MetaAttr* attribute : cls.GetAttributes()) {
    const Info::MetaAttrInfo& info = attribute->GetInfo();
    attributes.emplace_back(info.name, info.scopeName, info.kind, info.typeName);
  }
  return attributes;
}

class VocabularyLoaderTest : public ::testing::Test {
 protected:
  // Loads the usual prefixes followed by `body` as Turtle.
  bool LoadTurtle(const std::string& body) {
    return Load(kPrefixes + body, RdfSyntax::kTurtle, "doc.ttl", "http://example.org/base/");
  }
  bool Load(const std::string& document, RdfSyntax syntax, const std::string& name,
            const std::string& base = "") {
    result_ = OntologyModel::LoadText(document, syntax, name, base);
    return result_.model != nullptr;
  }

  // The class of `iri` (ex: abbreviates the example namespace); null when
  // there is none.
  const MetaClass* Find(const std::string& iri) const {
    std::string full = iri;
    if (full.compare(0, 3, "ex:") == 0) full = "http://example.org/ns#" + full.substr(3);
    return result_.model->GetMetaClass(full);
  }

  // Loads `document`, expects it to fail without a model, answers the error.
  std::string LoadError(const std::string& document, RdfSyntax syntax = RdfSyntax::kTurtle,
                        const std::string& name = "bad.ttl", const std::string& base = "") {
    EXPECT_FALSE(Load(document, syntax, name, base)) << "loaded although it should not";
    EXPECT_TRUE(result_.warnings.empty());
    return result_.error;
  }

  LoadResult result_;
};

TEST_F(VocabularyLoaderTest, ClassRecordCarriesLocalNameLibraryIriParentAndEnglishComment) {
  // Classes are rdfs and owl classes, but not datatypes, instances or blank
  // nodes.
  ASSERT_TRUE(
      LoadTurtle("ex:Agent a owl:Class, rdfs:Class .\n"
                 "ex:C a rdfs:Datatype .\n"
                 "ex:D a ex:Thing .\n"
                 "_:anon a owl:Class ; rdfs:subClassOf ex:Agent .\n"
                 "[] a rdfs:Class .\n"
                 "ex:Person a owl:Class ; rdfs:subClassOf ex:Agent ;\n"
                 "  rdfs:comment \"Une personne\"@fr, \"A person\"@en-GB, \"Plain\" .\n"
                 "ex:Robot a owl:Class ; rdfs:comment \"Ein Roboter\"@de, \"Plain robot\" .\n"
                 "ex:Drone a owl:Class ; rdfs:comment \"Ein Drohne\"@de, \"Un drone\"@fr .\n"))
      << result_.error;
  EXPECT_EQ(result_.model->GetClassCount(), 4u);
  EXPECT_TRUE(result_.warnings.empty());
  const MetaClass* const person = Find("ex:Person");
  ASSERT_NE(person, nullptr);
  const Info::MetaClassInfo& info = person->GetInfo();
  EXPECT_EQ(info.name, "Person");
  EXPECT_EQ(info.scopeName, "ex");
  EXPECT_EQ(info.handle, "http://example.org/ns#Person");
  EXPECT_EQ(info.parentName, "Agent");
  EXPECT_EQ(info.parentScopeName, "ex");
  EXPECT_FALSE(info.isAbstract);
  EXPECT_EQ(info.doc, "A person");
  EXPECT_EQ(person->GetFQName(), "ex::Person");
  EXPECT_EQ(person->GetParent(), Find("ex:Agent"));
  EXPECT_EQ(Find("ex:Robot")->GetInfo().doc, "Plain robot");
  EXPECT_EQ(Find("ex:Drone")->GetInfo().doc, "Ein Drohne");
  EXPECT_EQ(Find("ex:Agent")->GetInfo().parentName, "");
  EXPECT_EQ(Find("ex:Agent")->GetInfo().doc, "");
}

TEST_F(VocabularyLoaderTest, ParentIsFirstSuperclassOfTheModelAndOthersGoToTheDoc) {
  // The parent may be declared after the child; superclasses outside the
  // model and blank-node restrictions are not parents.
  ASSERT_TRUE(LoadTurtle(
      "ex:Band a owl:Class ; rdfs:comment \"A band.\" ;\n"
      "  rdfs:subClassOf [ a owl:Restriction ], <http://other.org/x#Ensemble>, ex:Group,\n"
      "                  schema:MusicGroup, ex:Group .\n"
      "ex:Group a owl:Class .\n"
      "schema:MusicGroup a rdfs:Class .\n"))
      << result_.error;
  const MetaClass* const band = Find("ex:Band");
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->GetParent(), Find("ex:Group"));
  EXPECT_EQ(band->GetInfo().doc,
            "A band. Also a subclass of <http://other.org/x#Ensemble>, schema.MusicGroup.");
}

TEST_F(VocabularyLoaderTest, ParentLoopIsCutAndReported) {
  ASSERT_TRUE(
      LoadTurtle("ex:A a rdfs:Class ; rdfs:subClassOf ex:B .\n"
                 "ex:B a rdfs:Class ; rdfs:subClassOf ex:C .\n"
                 "ex:C a rdfs:Class ; rdfs:subClassOf ex:A .\n"
                 "ex:D a rdfs:Class ; rdfs:subClassOf ex:B .\n"
                 "ex:Self a rdfs:Class ; rdfs:subClassOf ex:Self .\n"))
      << result_.error;
  EXPECT_EQ(result_.model->GetClassCount(), 5u);
  ASSERT_EQ(result_.warnings.size(), 2u);
  EXPECT_EQ(result_.warnings[0],
            "doc.ttl: <http://example.org/ns#C> rdfs:subClassOf <http://example.org/ns#A> would "
            "close a loop of parents; <http://example.org/ns#C> is left without a parent");
  EXPECT_NE(result_.warnings[1].find("<http://example.org/ns#Self> is left without a parent"),
            std::string::npos);
  // A -> B -> C ends at C, which keeps the cut superclass in its doc.
  EXPECT_EQ(Find("ex:A")->GetParent(), Find("ex:B"));
  EXPECT_EQ(Find("ex:B")->GetParent(), Find("ex:C"));
  EXPECT_EQ(Find("ex:C")->GetParent(), nullptr);
  EXPECT_EQ(Find("ex:C")->GetInfo().doc, "Also a subclass of ex.A.");
  EXPECT_EQ(Find("ex:D")->GetParent(), Find("ex:B"));
  EXPECT_EQ(Find("ex:Self")->GetParent(), nullptr);
  EXPECT_EQ(Find("ex:Self")->GetInfo().doc, "");
}

TEST_F(VocabularyLoaderTest, LibrariesAreNamedByDeclaredThenWellKnownPrefixThenIri) {
  ASSERT_TRUE(
      Load("@prefix my: <http://schema.org/> .\n"
           "@prefix foaf: <http://example.org/notfoaf/> .\n"
           "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
           "my:Person a rdfs:Class .\n"
           "foaf:Person a rdfs:Class .\n"
           "<http://xmlns.com/foaf/0.1/Person> a rdfs:Class .\n"
           "<http://www.w3.org/ns/prov#Person> a rdfs:Class .\n"
           "<http://unknown.org/v1/Thing> a rdfs:Class .\n"
           "<urn:isbn:Thing> a rdfs:Class .\n",
           RdfSyntax::kTurtle, "doc.ttl"))
      << result_.error;
  std::vector<std::string> names;
  for (const MetaClassLibrary* library : result_.model->GetLibraries()) {
    names.push_back(library->GetName());
    ASSERT_EQ(library->GetClasses().size(), 1u);
    EXPECT_EQ(library->GetClasses()[0]->GetInfo().scopeName, library->GetName());
  }
  // A declared prefix beats the well-known one; a well-known prefix taken by
  // a declaration falls back to the namespace IRI.
  EXPECT_EQ(names, (std::vector<std::string>{"my", "foaf", "http://xmlns.com/foaf/0.1/", "prov",
                                             "http://unknown.org/v1/", "urn:isbn:"}));
  EXPECT_EQ(result_.model->GetMetaClass("urn:isbn:Thing")->GetInfo().name, "Thing");
}

TEST_F(VocabularyLoaderTest, PropertiesBecomeAttributesOfEachDomainSortedByIri) {
  ASSERT_TRUE(LoadTurtle(
      "ex:Person a rdfs:Class .\n"
      "ex:Place a rdfs:Class .\n"
      "ex:zip a owl:DatatypeProperty ; rdfs:domain ex:Place .\n"
      "ex:name a rdf:Property ; schema:domainIncludes ex:Person, ex:Place ;\n"
      "  rdfs:domain ex:Person .\n"
      "schema:about a owl:ObjectProperty ; rdfs:domain ex:Person ; rdfs:range ex:Place .\n"
      "ex:alias a rdf:Property ; rdfs:domain ex:Person .\n"
      "ex:untyped rdfs:domain ex:Person .\n"
      "ex:note a owl:AnnotationProperty ; rdfs:domain ex:Person .\n"
      "ex:union a rdf:Property ; rdfs:domain [ owl:unionOf (ex:Person ex:Place) ] .\n"
      "ex:elsewhere a rdf:Property ; rdfs:domain ex:NotAClass .\n"
      "ex:Person a owl:Class .\n"))
      << result_.error;
  EXPECT_EQ(AttributesOf(*Find("ex:Person")),
            (std::vector<Attr>{{"alias", "ex", kText, ""},
                               {"name", "ex", kText, ""},
                               {"about", "schema", kComplex, "Place"}}));
  EXPECT_EQ(AttributesOf(*Find("ex:Place")),
            (std::vector<Attr>{{"name", "ex", kText, ""}, {"zip", "ex", kText, ""}}));
}

TEST_F(VocabularyLoaderTest, KindComesFromTheRange) {
  const std::vector<std::pair<std::string, Attr>> cases = {
      {"xsd:string", {"", "", kText, "string"}},
      {"rdf:langString", {"", "", kText, "langString"}},
      {"rdfs:Literal", {"", "", kText, "Literal"}},
      {"schema:Text", {"", "", kText, "Text"}},
      {"schema:URL", {"", "", kText, "URL"}},
      {"<https://schema.org/URL>", {"", "", kText, "URL"}},
      {"xsd:boolean", {"", "", kBoolean, "boolean"}},
      {"schema:Boolean", {"", "", kBoolean, "Boolean"}},
      {"xsd:negativeInteger", {"", "", kInteger, "negativeInteger"}},
      {"schema:Integer", {"", "", kInteger, "Integer"}},
      {"xsd:decimal", {"", "", kReal, "decimal"}},
      {"schema:Number", {"", "", kReal, "Number"}},
      {"xsd:gYear", {"", "", kTemporal, "gYear"}},
      {"schema:DateTime", {"", "", kTemporal, "DateTime"}},
      {"ex:Person", {"", "", kComplex, "Person"}},
      {"xsd:hexBinary", {"", "", kUnmapped, "hexBinary"}},
      {"ex:Kilogram", {"", "", kUnmapped, "Kilogram"}},        // typed rdfs:Datatype
      {"ex:Elsewhere", {"", "", kUnmapped, "Elsewhere"}},      // not a class of the model
      {"ex:Pronounceable", {"", "", kText, "Pronounceable"}},  // derives from schema:Text
      {"schema:PostalAddress, schema:Text", {"", "", kText, "Text"}},
      {"ex:Person, schema:Integer, schema:Number", {"", "", kInteger, "Integer"}},
      {"schema:Number, xsd:string", {"", "", kText, "string"}},
      {"ex:Person, xsd:hexBinary", {"", "", kUnmapped, "hexBinary"}},
      {"ex:Elsewhere, ex:Person", {"", "", kComplex, "Person"}},
  };
  std::string body =
      "ex:Person a rdfs:Class .\n"
      "schema:Text a rdfs:Class .\n"
      "schema:PostalAddress a rdfs:Class .\n"
      "ex:Pronounceable a rdfs:Class ; rdfs:subClassOf schema:Text .\n"
      "ex:Kilogram a rdfs:Datatype .\n"
      "ex:Holder a rdfs:Class .\n"
      "ex:p00 a rdf:Property ; rdfs:domain ex:Holder .\n";
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const std::string name = (i + 1 < 10 ? "p0" : "p") + std::to_string(i + 1);
    body += "ex:" + name + " a rdf:Property ; schema:domainIncludes ex:Holder ;" +
            " schema:rangeIncludes " + cases[i].first + " .\n";
  }
  ASSERT_TRUE(LoadTurtle(body)) << result_.error;
  const std::vector<Attr> attributes = AttributesOf(*Find("ex:Holder"));
  ASSERT_EQ(attributes.size(), cases.size() + 1);
  EXPECT_EQ(attributes[0], (Attr{"p00", "ex", kText, ""}));  // no range
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(std::get<2>(attributes[i + 1]), std::get<2>(cases[i].second)) << cases[i].first;
    EXPECT_EQ(std::get<3>(attributes[i + 1]), std::get<3>(cases[i].second)) << cases[i].first;
  }
}

TEST_F(VocabularyLoaderTest, TheSameStatementsGiveTheSameModelInEverySyntaxAndOrder) {
  const std::string triples =
      "<http://example.org/ns#B> <http://www.w3.org/2000/01/rdf-schema#domain> "
      "<http://example.org/ns#C> .\n"
      "<http://example.org/ns#C> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
      "<http://www.w3.org/2002/07/owl#Class> .\n"
      "<http://example.org/ns#A> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
      "<http://www.w3.org/1999/02/22-rdf-syntax-ns#Property> .\n"
      "<http://example.org/ns#B> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
      "<http://www.w3.org/1999/02/22-rdf-syntax-ns#Property> .\n"
      "<http://example.org/ns#A> <http://www.w3.org/2000/01/rdf-schema#domain> "
      "<http://example.org/ns#C> .\n"
      "<http://example.org/ns#B> <http://www.w3.org/2000/01/rdf-schema#range> "
      "<http://www.w3.org/2001/XMLSchema#int> .\n";
  std::string quads;
  std::string reversed;
  std::size_t start = 0;
  for (std::size_t end; (end = triples.find(" .\n", start)) != std::string::npos; start = end + 3) {
    const std::string statement = triples.substr(start, end - start);
    quads += statement + " <http://example.org/graph> .\n";
    reversed = statement + " .\n" + reversed;
  }
  const std::vector<Attr> expected = {{"A", "http://example.org/ns#", kText, ""},
                                      {"B", "http://example.org/ns#", kInteger, "int"}};
  for (const auto& [document, syntax] :
       std::vector<std::pair<std::string, RdfSyntax>>{{triples, RdfSyntax::kNTriples},
                                                      {reversed, RdfSyntax::kNTriples},
                                                      {quads, RdfSyntax::kNQuads},
                                                      {triples, RdfSyntax::kTurtle}}) {
    ASSERT_TRUE(Load(document, syntax, "doc")) << result_.error;
    ASSERT_NE(Find("ex:C"), nullptr);
    EXPECT_EQ(AttributesOf(*Find("ex:C")), expected);
  }
}

TEST_F(VocabularyLoaderTest, RelativeIrisResolveAgainstTheBase) {
  ASSERT_TRUE(
      Load("@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
           "<Thing> a rdfs:Class .\n"
           "@base <http://other.org/v2/> .\n"
           "<Part> a rdfs:Class ; rdfs:subClassOf <http://example.org/v1/Thing> .\n",
           RdfSyntax::kTurtle, "doc.ttl", "http://example.org/v1/"))
      << result_.error;
  ASSERT_NE(Find("http://example.org/v1/Thing"), nullptr);
  ASSERT_NE(Find("http://other.org/v2/Part"), nullptr);
  EXPECT_EQ(Find("http://other.org/v2/Part")->GetParent(), Find("http://example.org/v1/Thing"));
}

TEST_F(VocabularyLoaderTest, EmptyDocumentGivesAnEmptyModel) {
  ASSERT_TRUE(Load("", RdfSyntax::kTurtle, "empty.ttl")) << result_.error;
  EXPECT_EQ(result_.model->GetClassCount(), 0u);
  EXPECT_TRUE(result_.model->GetLibraries().empty());
  ASSERT_TRUE(Load("# nothing but a comment\n", RdfSyntax::kNQuads, "empty.nq")) << result_.error;
}

TEST_F(VocabularyLoaderTest, BadInputGivesNoModelAndAnErrorWithItsPlace) {
  // A syntax error after good statements: nothing of the good part is kept.
  EXPECT_EQ(LoadError("@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                      "<http://a.org/A> a rdfs:Class .\n"
                      "<http://a.org/B> a rdfs:Class\n"
                      "<http://a.org/C> a rdfs:Class .\n"),
            "bad.ttl:4:1: missing ';' or '.'");
  EXPECT_EQ(LoadError("<http://a.org/A> <http://a.org/p> <http://a.org/B> .\n"
                      "<http://a.org/A> <http://a.org/p> .\n",
                      RdfSyntax::kNTriples, "bad.nt"),
            "bad.nt:2:35: expected: ':', '<', or '_'");
  EXPECT_EQ(LoadError("<http://a.org/A> a <http://a.org/B> .\n"
                      "un:X a <http://a.org/B> .\n"),
            "bad.ttl:2:24: undefined prefix in \"un:X\"");
  EXPECT_EQ(LoadError("<http://a.org/A> a <B> .\n"),
            "bad.ttl:1:23: relative IRI <B> and no base IRI to resolve it against");
  EXPECT_EQ(LoadError(std::string("<http://a.org/A> a <http://a.org/B> .\n  \0 .", 43)),
            "bad.ttl:2:3: NUL byte in the document");
  EXPECT_EQ(
      LoadError("<http://a.org/A> <http://a.org/p> \"\xff\" .\n", RdfSyntax::kNTriples, "bad.nt"),
      "bad.nt:1:36: invalid UTF-8 at byte 0xFF");
  // An overlong form of '/', a lone surrogate and a cut sequence are not
  // UTF-8 either.
  EXPECT_EQ(LoadError("# \xC0\xAF\n"), "bad.ttl:1:3: invalid UTF-8 at byte 0xC0");
  EXPECT_EQ(LoadError("# ok \xC3\xA9 \xED\xA0\x80\n"), "bad.ttl:1:9: invalid UTF-8 at byte 0xED");
  EXPECT_EQ(LoadError("# cut \xE2\x82"), "bad.ttl:1:7: invalid UTF-8 at byte 0xE2");
  EXPECT_EQ(LoadError("", RdfSyntax::kFromExtension, "vocabulary.rdf"),
            "vocabulary.rdf: cannot tell the RDF syntax from the name; use .ttl, .nt or .nq, or "
            "give the syntax");
  // Turtle is not N-Triples: prefixes are a syntax error there.
  EXPECT_NE(LoadError("@prefix a: <http://a.org/> .\n", RdfSyntax::kNTriples, "bad.nt"), "");
}

// The example of docs/vocabularies.md loads as that page says.
TEST_F(VocabularyLoaderTest, DocumentedExampleLoadsAsDescribed) {
  const std::string page = QAX_SOURCE_DIR "/docs/vocabularies.md";
  std::ifstream in(page);
  ASSERT_TRUE(in.good()) << page;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::size_t start = text.find("```turtle\n");
  ASSERT_NE(start, std::string::npos);
  const std::size_t end = text.find("```", start + 10);
  ASSERT_TRUE(Load(text.substr(start + 10, end - start - 10), RdfSyntax::kTurtle, "zoo.ttl"))
      << result_.error;
  const std::string zoo = "http://example.org/zoo#";
  EXPECT_EQ(result_.model->GetClassCount(), 4u);
  const MetaClass* const penguin = Find(zoo + "Penguin");
  ASSERT_NE(penguin, nullptr);
  EXPECT_EQ(penguin->GetParent(), Find(zoo + "Animal"));
  EXPECT_EQ(penguin->GetInfo().doc,
            "A bird that swims. Also a subclass of <http://other.org/birds#Bird>, ex.Swimmer.");
  EXPECT_EQ(AttributesOf(*penguin),
            (std::vector<Attr>{{"flippers", "ex", kInteger, "nonNegativeInteger"},
                               {"tagged", "ex", kBoolean, "boolean"}}));
  EXPECT_EQ(Find(zoo + "Animal")->GetInfo().doc, "An animal");
  EXPECT_EQ(AttributesOf(*Find(zoo + "Animal")),
            (std::vector<Attr>{{"born", "ex", kTemporal, "date"},
                               {"keeper", "ex", kComplex, "Keeper"},
                               {"name", "ex", kText, "string"},
                               {"weight", "ex", kReal, "Number"}}));
  EXPECT_EQ(AttributesOf(*Find(zoo + "Swimmer")),
            (std::vector<Attr>{{"flippers", "ex", kInteger, "nonNegativeInteger"}}));
  EXPECT_EQ(Find(zoo + "Keeper")->GetParent(), nullptr);
  EXPECT_EQ(Find(zoo + "Keeper")->GetInfo().doc, "Also a subclass of schema.Person.");
}

class VocabularyFileTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const std::string& path : written_) std::remove(path.c_str());
  }
  std::string Write(const std::string& name, const std::string& content) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << content;
    written_.push_back(path);
    return path;
  }
  std::vector<std::string> written_;
};

TEST_F(VocabularyFileTest, SyntaxComesFromTheExtensionInAnyCase) {
  const std::string triple =
      "<http://a.org/A> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
      "<http://www.w3.org/2000/01/rdf-schema#Class>";
  const std::string ttl =
      Write("qax_loader.TTL", "@prefix a: <http://a.org/> .\n" + triple + " .\n");
  const std::string nt = Write("qax_loader.nt", triple + " .\n");
  const std::string nq = Write("qax_loader.Nq", triple + " <http://a.org/g> .\n");
  for (const std::string& path : {ttl, nt, nq}) {
    const LoadResult result = OntologyModel::LoadFile(path);
    ASSERT_NE(result.model, nullptr) << result.error;
    EXPECT_NE(result.model->GetMetaClass("http://a.org/A"), nullptr) << path;
  }
  // Forced to N-Triples, the Turtle file fails on its prefix line.
  const LoadResult forced = OntologyModel::LoadFile(ttl, RdfSyntax::kNTriples);
  EXPECT_EQ(forced.model, nullptr);
  EXPECT_EQ(forced.error.compare(0, ttl.size() + 3, ttl + ":1:"), 0) << forced.error;
}

TEST_F(VocabularyFileTest, RelativeIrisResolveAgainstTheFileAndMissingFilesFail) {
  const std::string path =
      Write("qax_relative.ttl", "<Local> a <http://www.w3.org/2000/01/rdf-schema#Class> .\n");
  const LoadResult result = OntologyModel::LoadFile(path);
  ASSERT_NE(result.model, nullptr) << result.error;
  ASSERT_EQ(result.model->GetClassCount(), 1u);
  const std::string& handle = result.model->GetLibraries()[0]->GetClasses()[0]->GetInfo().handle;
  EXPECT_EQ(handle.compare(0, 8, "file:///"), 0) << handle;
  EXPECT_EQ(handle.substr(handle.size() - 6), "/Local");

  const LoadResult missing = OntologyModel::LoadFile(::testing::TempDir() + "qax_no_such.ttl");
  EXPECT_EQ(missing.model, nullptr);
  EXPECT_NE(missing.error.find("qax_no_such.ttl: cannot open: No such file or directory"),
            std::string::npos)
      << missing.error;
}

}  // namespace
}  // namespace Ontology
}  // namespace QAX
