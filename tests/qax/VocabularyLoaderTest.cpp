#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/rdf/Rdf.h"
#include "tests/support/KindName.h"
#include "tests/support/ServiceNames.h"

namespace qaxoi::test {

namespace {

constexpr char kPrefixes[] =
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
    "@prefix schema: <http://schema.org/> .\n"
    "@prefix ex: <http://example.org/ex#> .\n"
    "@prefix skos: <http://www.w3.org/2004/02/skos/core#> .\n"
    "@prefix dcterms: <http://purl.org/dc/terms/> .\n";

// The whole model as text, one line per class in library order:
//   FQNAME[ < PARENT FQNAME][ "DOC"]
// and one line per attribute: "  name scope kind typeName", the kind by
// name (KindName).
std::string Describe(const OntologyModel& model) {
  std::string text;
  for (const MetaClassLibrary* library : model.GetLibraries()) {
    for (const MetaClass* cls : library->GetClasses()) {
      const QAX::Ontology::Info::MetaClassInfo& info = cls->GetInfo();
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
        const QAX::Ontology::Info::MetaAttrInfo& a = attribute->GetInfo();
        text += "  " + a.name + " " + a.scopeName + " " + qaxoi::test::KindName(a.kind) + " " +
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
    result_ = LoadedModel();
    status_ = LoadModelText(document, syntax, name, base, &result_);
    EXPECT_EQ(status_.ok(), result_.model != nullptr);
    EXPECT_TRUE(status_.ok() || result_.warnings.empty());
    return status_.ok() ? Describe(*result_.model) : "error: " + status_.message();
  }
  // Loads the usual prefixes followed by `body` as Turtle.
  std::string Turtle(const std::string& body) {
    return Load(kPrefixes + body, RdfSyntax::kTurtle, "doc.ttl", "http://example.org/base/");
  }
  qaxoi::Status status_;
  LoadedModel result_;
};

// Classes are rdfs and owl classes, not datatypes, instances or blank nodes,
// listed by library name and IRI; the parent is a superclass that is a class
// of the model, the others go to the doc in IRI order.
TEST_F(VocabularyLoaderTest, ClassesGetParentsAndDocsAndAreListedByIri) {
  EXPECT_EQ(Turtle("ex:Agent a owl:Class, rdfs:Class .\n"
                   "ex:C a rdfs:Datatype .\n"
                   "ex:D a ex:Thing .\n"
                   "_:anon a owl:Class ; rdfs:subClassOf ex:Agent .\n"
                   "ex:Person a owl:Class ; rdfs:subClassOf ex:Agent ;\n"
                   "  rdfs:comment \"Une personne\"@fr, \"A person\"@en-GB, \"Plain\" .\n"
                   "ex:Band a owl:Class ; rdfs:comment \"A band.\" ;\n"
                   "  rdfs:subClassOf [ a owl:Restriction ], <http://other.org/x#Ensemble>,\n"
                   "                  schema:MusicGroup, ex:Group, ex:Group .\n"
                   "ex:Group a owl:Class .\n"
                   "schema:MusicGroup a rdfs:Class .\n"),
            "ex::Agent\n"
            "ex::Band < ex::Group \"A band. Also a subclass of x.Ensemble, schema.MusicGroup.\"\n"
            "ex::Group\n"
            "ex::Person < ex::Agent \"Plain\"\n"
            "schema::MusicGroup\n");
  EXPECT_EQ(result_.warnings,
            (std::vector<std::string>{
                "doc.ttl: ignored 1 owl:Restriction without one named property and a constraint "
                "the loader reads in rdfs:subClassOf and owl:equivalentClass (for example in the "
                "rdfs:subClassOf of <http://example.org/ex#Band>)"}));
}

// Of a class's superclasses that are classes of the model (rdfs:subClassOf
// and the named classes of intersections alike, never the class itself),
// the parent is one of its own namespace, else any, the least IRI first;
// one that would close a loop is passed over, classes decided in IRI order.
TEST_F(VocabularyLoaderTest, ParentIsTheLeastSuperclassOfTheOwnNamespaceThatClosesNoLoop) {
  const std::string classes =
      "ex:A a owl:Class . ex:B a owl:Class . ex:Z a owl:Class . ex:C a owl:Class .\n"
      "<http://other.org/x#P> a owl:Class . <http://other.org/y#Q> a owl:Class .\n"
      "ex:p a owl:ObjectProperty ; rdfs:domain ex:A .\n";
  const auto loop = [](const char* cls, const char* super) {
    return std::string("doc.ttl: <http://example.org/ex#") + cls +
           "> rdfs:subClassOf <http://example.org/ex#" + super +
           "> would close a loop of parents; <http://example.org/ex#" + cls +
           "> is left without a parent";
  };
  // A superclass other than the parent in a loop is not followed either.
  const auto unfollowed = [](const char* cls, const char* super) {
    return std::string(
               "doc.ttl: 1 superclass would close a loop of superclasses and gives its "
               "class no attributes (for example <http://example.org/ex#") +
           cls + "> rdfs:subClassOf <http://example.org/ex#" + super + ">)";
  };
  const struct {
    std::string superclasses;  // statements about ex:C and the others
    const char* parents;       // each class with a parent: "class<parent", IRI order
    const char* docC;          // ex:C's doc
    std::vector<std::string> warnings;
  } cases[] = {
      {"ex:C rdfs:subClassOf <http://other.org/y#Q>, ex:Z, ex:B .",
       "C<B",
       "Also a subclass of ex.Z, y.Q.",
       {}},
      {"ex:C rdfs:subClassOf <http://other.org/y#Q>, <http://other.org/x#P> .",
       "C<P",
       "Also a subclass of y.Q.",
       {}},
      {"ex:C rdfs:subClassOf ex:Untyped, <http://other.org/y#Q> .",
       "C<Q",
       "Also a subclass of ex.Untyped.",
       {}},
      {"ex:C rdfs:subClassOf <http://other.org/x#P> ; owl:equivalentClass [ owl:intersectionOf ( "
       "ex:Z [ a owl:Restriction ; owl:onProperty ex:p ; owl:minCardinality 1 ] ) ] .",
       "C<Z",
       "Also a subclass of x.P.",
       {}},
      {"ex:C rdfs:subClassOf ex:C, ex:Z .", "C<Z", "", {}},
      // Loops: A is decided first and takes B; B's only candidate A closes
      // the loop, so B stays a root; with another candidate it takes that.
      {"ex:A rdfs:subClassOf ex:B . ex:B rdfs:subClassOf ex:A .", "A<B", "", {loop("B", "A")}},
      {"ex:A rdfs:subClassOf ex:B . ex:B rdfs:subClassOf ex:A, ex:Z .",
       "A<B B<Z",
       "",
       {unfollowed("B", "A")}},
      {"ex:A rdfs:subClassOf ex:B . ex:B rdfs:subClassOf ex:C . ex:C rdfs:subClassOf ex:A .",
       "A<B B<C",
       "Also a subclass of ex.A.",
       {loop("C", "A")}},
      // C, decided before Z, takes A (the tree of A and Z); Z's only
      // candidate C then closes the loop.
      {"ex:Z rdfs:subClassOf ex:C . ex:C rdfs:subClassOf ex:A, ex:Z . ex:A rdfs:subClassOf ex:Z .",
       "A<Z C<A",
       "Also a subclass of ex.Z.",
       {loop("Z", "C"), unfollowed("C", "Z")}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Turtle(classes + c.superclasses).rfind("error: ", 0), std::string::npos)
        << status_.message();
    std::string parents;
    for (const MetaClassLibrary* library : result_.model->GetLibraries()) {
      for (const MetaClass* cls : library->GetClasses()) {
        if (cls->GetParent() == nullptr) continue;
        parents += (parents.empty() ? "" : " ") + cls->GetInfo().name + "<" +
                   cls->GetParent()->GetInfo().name;
      }
    }
    EXPECT_EQ(parents, c.parents) << c.superclasses;
    EXPECT_EQ(result_.model->GetMetaClass("http://example.org/ex#C")->GetInfo().doc, c.docC)
        << c.superclasses;
    EXPECT_EQ(result_.warnings, c.warnings) << c.superclasses;
  }
}

// Without a language preference the doc is, whatever the order of the
// statements: of the first source the class has (comment, then definition,
// then description), the text without a language, else an English one (the
// least tag first), else the least tag; then the least text.
TEST_F(VocabularyLoaderTest, DocIsTheBestTextByPredicateLanguageAndBytes) {
  const struct {
    const char* statements;  // about ex:C, typed a class after them
    const char* doc;
  } cases[] = {
      {"ex:C rdfs:comment \"Une personne\"@fr, \"A person\"@en-GB, \"Plain\" .", "Plain"},
      {"ex:C rdfs:comment \"Une personne\"@fr, \"A person\"@en-GB .", "A person"},
      {"ex:C rdfs:comment \"b\"@en-US, \"a\"@en-GB, \"z\"@en .", "z"},
      {"ex:C rdfs:comment \"Zed\"@EN-gb, \"Alpha\"@en-GB .", "Alpha"},
      {"ex:C rdfs:comment \"Plain B\", \"Plain A\", \"Ein\"@de .", "Plain A"},
      {"ex:C rdfs:comment \"Un\"@fr, \"Ein\"@de .", "Ein"},
      {"ex:C skos:definition \"Def\"@fr, \"Definition\" ;\n"
       "  <http://purl.org/dc/terms/description> \"Described\"@en .",
       "Definition"},
      {"ex:C <http://purl.org/dc/terms/description> \"D\" .", "D"},
      {"ex:C <http://purl.org/dc/terms/description> \"D\" ; rdfs:comment \"C\"@fr .", "C"},
      // One language from two sources, in either order: the better source.
      {"ex:C skos:definition \"Def\" ; rdfs:comment \"Com\" .", "Com"},
      {"ex:C rdfs:comment \"Com\" ; skos:definition \"Def\" .", "Com"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Turtle(std::string(c.statements) + "\nex:C a owl:Class .\n"),
              "ex::C \"" + std::string(c.doc) + "\"\n")
        << c.statements;
  }
}

// Labels and documentation texts are kept per language, one each (of the
// first source, the least text), and chosen by the model's languages: the
// tags in order (exact, then the tags under it, then the tag cut short),
// then untagged, then English, then any. `doc` follows SetLanguages.
TEST_F(VocabularyLoaderTest, LabelsAndDocsAreKeptPerLanguageAndChosenByThePreference) {
  ASSERT_EQ(Turtle("ex:C a owl:Class ; rdfs:subClassOf ex:D, ex:E ;\n"
                   "  rdfs:label \"Cor B\"@pt, \"Colour\"@en-GB, \"Color\", \"Cor\"@PT, "
                   "\"Couleur\"@fr ;\n"
                   "  skos:prefLabel \"Farbe\"@de ;\n"
                   "  skos:definition \"Definido\"@pt ;\n"
                   "  rdfs:comment \"A colour.\"@en-GB, \"Uma cor.\"@pt-BR, \"Une couleur.\"@fr,\n"
                   "    \"Eine Farbe.\"@de .\n"
                   "ex:D a owl:Class . ex:E a owl:Class .\n"
                   "ex:p a owl:DatatypeProperty ; rdfs:domain ex:C, ex:E ;\n"
                   "  skos:prefLabel \"hue\"@en, \"matiz\"@pt .\n")
                .rfind("error: ", 0),
            std::string::npos)
      << status_.message();
  OntologyModel& model = *result_.model;
  const MetaClass* c = model.GetMetaClass("http://example.org/ex#C");
  ASSERT_NE(c->GetTexts(), nullptr);
  const auto listed = [](const std::vector<QAX::Ontology::LangText>& texts) {
    std::string text;
    for (const auto& t : texts) text += t.language + "=" + t.text + ";";
    return text;
  };
  EXPECT_EQ(listed(c->GetTexts()->labels), "=Color;en-gb=Colour;fr=Couleur;pt=Cor;");
  EXPECT_EQ(listed(c->GetTexts()->docs),
            "de=Eine Farbe.;en-gb=A colour.;fr=Une couleur.;pt-br=Uma cor.;");
  EXPECT_EQ(model.GetMetaClass("http://example.org/ex#D")->GetTexts(), nullptr);
  // One record for the property's attributes on every class.
  const QAX::Ontology::TermTexts* p = c->GetAttributes().at(0)->GetTexts();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(listed(p->labels), "en=hue;pt=matiz;");
  EXPECT_EQ(p, model.GetMetaClass("http://example.org/ex#E")->GetAttributes().at(0)->GetTexts());

  const QAX::Ontology::Info::MetaClassInfo& info = c->GetInfo();
  const struct {
    std::vector<std::string> tags;
    const char* label;
    const char* doc;
  } cases[] = {
      {{}, "Color", "A colour."},          {{"pt"}, "Cor", "Uma cor."},
      {{"pt-BR"}, "Cor", "Uma cor."},      {{"de", "FR"}, "Couleur", "Eine Farbe."},
      {{"FR"}, "Couleur", "Une couleur."}, {{"en"}, "Colour", "A colour."},
      {{"it"}, "Color", "A colour."},      {{"en-us", "pt"}, "Cor", "Uma cor."},
  };
  for (const auto& row : cases) {
    model.SetLanguages(QAX::Ontology::LanguagePreference{row.tags});
    const QAX::Ontology::LangText* label =
        QAX::Ontology::ChooseText(c->GetTexts()->labels, model.GetLanguages());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text, row.label) << ::testing::PrintToString(row.tags);
    EXPECT_EQ(info.doc, std::string(row.doc) + " Also a subclass of ex.E.")
        << ::testing::PrintToString(row.tags);
  }
}

// Library names come from the graph, never from the document's prefixes:
// an ontology's preferred prefix, its IRI's last segment, the customary
// prefix, then the namespace IRI's own last segment that says something,
// else the IRI; each name to one namespace, in that order of choice and
// then of namespace IRI. Libraries are listed by name.
TEST_F(VocabularyLoaderTest, LibrariesAreNamedByTheGraphAloneAndListedByName) {
  const std::string owl = "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n";
  const std::string vann = "@prefix vann: <http://purl.org/vocab/vann/> .\n";
  const struct {
    std::string document;
    const char* model;
  } cases[] = {
      {"@prefix my: <http://schema.org/> .\n"
       "@prefix foaf: <http://example.org/notfoaf/> .\n"
       "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
       "my:Person a rdfs:Class .\n"
       "foaf:Person a rdfs:Class .\n"
       "<http://xmlns.com/foaf/0.1/Person> a rdfs:Class .\n"
       "<http://www.w3.org/ns/prov#Person> a rdfs:Class .\n"
       "<http://unknown.org/v1/Thing> a rdfs:Class .\n"
       "<urn:isbn:Thing> a rdfs:Class .\n",
       "foaf::Person\nhttp://unknown.org/v1/::Thing\nnotfoaf::Person\nprov::Person\n"
       "schema::Person\nurn:isbn:::Thing\n"},
      {owl + "@prefix : <https://e.org/ont/pizza.owl#> .\n"
             "<https://e.org/ont/pizza.owl> a owl:Ontology .\n:Margherita a owl:Class .\n",
       "pizza::Margherita\n"},
      {owl + "@prefix my: <https://e.org/ont/pizza.owl#> .\n"
             "<https://e.org/ont/pizza.owl> a owl:Ontology .\nmy:Margherita a owl:Class .\n",
       "pizza::Margherita\n"},
      {owl + vann +
           "<http://e.org/v> a owl:Ontology ; vann:preferredNamespacePrefix \"vv\" .\n"
           "<http://e.org/v/A> a owl:Class .\n",
       "vv::A\n"},
      {owl + vann +
           "<http://e.org/o> vann:preferredNamespacePrefix \"oo\" ;\n"
           "  vann:preferredNamespaceUri \"http://e.org/terms#\" .\n"
           "<http://e.org/terms#A> a owl:Class .\n",
       "oo::A\n"},
      {owl + "<http://www.w3.org/2004/02/skos/core> a owl:Ontology .\n"
             "<http://www.w3.org/2004/02/skos/core#Concept> a owl:Class .\n",
       "skos::Concept\n"},
      {owl + "<http://purl.org/linked-data/cube> a owl:Ontology .\n"
             "<http://purl.org/linked-data/cube#DataSet> a owl:Class .\n",
       "cube::DataSet\n"},
      {owl + "@prefix pizza: <http://e.org/other#> .\n"
             "<http://e.org/pizza.owl> a owl:Ontology .\n<http://e.org/pizza.owl#A> a owl:Class .\n"
             "pizza:B a owl:Class .\n",
       "other::B\npizza::A\n"},
      {owl + "<http://e.org/2.0/> a owl:Ontology .\n<http://e.org/2.0/A> a owl:Class .\n",
       "http://e.org/2.0/::A\n"},
      {owl + "<http://e.org/v2/> a owl:Ontology .\n<http://e.org/v2/A> a owl:Class .\n",
       "http://e.org/v2/::A\n"},
      // A name is taken by the earlier choice, then by the least namespace.
      {owl + vann +
           "<http://e.org/o#> vann:preferredNamespacePrefix \"foaf\" .\n"
           "<http://e.org/o#A> a owl:Class .\n<http://xmlns.com/foaf/0.1/Person> a owl:Class .\n",
       "foaf::A\nhttp://xmlns.com/foaf/0.1/::Person\n"},
      {owl + "<http://b.org/zoo/B> a owl:Class .\n<http://a.org/zoo#A> a owl:Class .\n",
       "http://b.org/zoo/::B\nzoo::A\n"},
      // The namespace's own segment: versions, extensions and words that
      // say nothing passed over, never the host, only a valid name.
      {owl +
           "<http://e.org/people/v2/A> a owl:Class .\n<http://e.org/zoo.ttl#B> a owl:Class .\n"
           "<http://e.org/vocab/Terms/2.0/C> a owl:Class .\n<http://e.org/my.zoo#D> a owl:Class .\n"
           "<http://e.org/a/1-b/E> a owl:Class .\n",
       "http://e.org/a/1-b/::E\nhttp://e.org/my.zoo#::D\nhttp://e.org/vocab/Terms/2.0/::C\n"
       "people::A\nzoo::B\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Load(c.document), c.model) << c.document;
  // The empty prefix is remembered for lookups when the document declares
  // exactly one.
  const std::string declared = owl + "@prefix : <http://e.org/a#> .\n:A a owl:Class .\n";
  ASSERT_EQ(Load(declared), "a::A\n");
  EXPECT_EQ(result_.model->GetEmptyPrefixNamespace(), "http://e.org/a#");
  ASSERT_EQ(Load(declared + "@prefix : <http://e.org/b#> .\n:B a owl:Class .\n"), "a::A\nb::B\n");
  EXPECT_EQ(result_.model->GetEmptyPrefixNamespace(), "");
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
            "ex::Person\n  alias ex text \n  name ex text \n  about schema complex Place\n"
            "ex::Place\n  name ex text \n  zip ex text \n");
}

// How an attribute's values are written, for the table below: "lit" (the
// kind decides), "lit D" (datatype D), "lit D1 D2 +text" (a union, text
// allowed), "ref" (any IRI) or "ref N1 N2" (one of the individuals, shown
// names).
std::string ValueTypeText(const MetaAttr& attribute) {
  const QAX::Ontology::AttrValueType& type = attribute.GetValueType();
  std::string text = type.IsReference() ? "ref" : "lit";
  const auto shortened = [](const std::string& iri) {
    const std::string xsd = "http://www.w3.org/2001/XMLSchema#";
    return iri.compare(0, xsd.size(), xsd) == 0 ? "xsd:" + iri.substr(xsd.size()) : iri;
  };
  if (!type.datatype.empty()) text += " " + shortened(type.datatype);
  for (const std::string& datatype : type.orDatatypes) text += " " + shortened(datatype);
  if (type.textAllowed) text += " +text";
  for (const QAX::Ontology::AttrIndividual& individual : type.individuals) {
    text += " " + individual.name;
  }
  return text;
}

// Every range gives a kind of 0 to 5 and a way of writing values: a mapped
// datatype (the lowest kind of several) before an unmapped datatype, before
// a class, before anything else; what cannot be mapped is text, written as
// a literal of its datatype or as a reference; enumerations and classes of
// named individuals are references to their individuals.
TEST_F(VocabularyLoaderTest, EveryRangeGivesAKindAndAValueType) {
  using Kind = QAX::Ontology::Info::AttrKind;
  const struct {
    const char* type;  // of the property
    std::string ranges;
    Kind kind;
    const char* typeName;
    const char* value;
  } rows[] = {
      {"rdf:Property", "rdf:langString", Kind::kText, "langString", "lit"},
      {"rdf:Property", "xsd:boolean", Kind::kBoolean, "boolean", "lit xsd:boolean"},
      {"rdf:Property", "<https://schema.org/URL>", Kind::kText, "URL", "ref"},
      {"rdf:Property", "xsd:negativeInteger", Kind::kInteger, "negativeInteger",
       "lit xsd:negativeInteger"},
      {"rdf:Property", "schema:Number", Kind::kReal, "Number", "lit"},
      {"rdf:Property", "xsd:gYear", Kind::kTemporal, "gYear", "lit xsd:gYear"},
      {"rdf:Property", "xsd:float", Kind::kReal, "float", "lit xsd:float"},
      {"rdf:Property", "ex:Person", Kind::kComplex, "Person", "lit"},
      {"rdf:Property", "ex:Kilogram", Kind::kText, "Kilogram",  // typed rdfs:Datatype
       "lit http://example.org/ex#Kilogram"},
      {"rdf:Property", "ex:Elsewhere", Kind::kText, "Elsewhere", "ref"},  // another vocabulary's
      {"owl:DatatypeProperty", "ex:Elsewhere", Kind::kText, "Elsewhere",
       "lit http://example.org/ex#Elsewhere"},
      {"owl:ObjectProperty", "owl:Thing", Kind::kText, "Thing", "ref"},
      {"rdf:Property", "rdfs:Resource", Kind::kText, "Resource", "ref"},
      {"rdf:Property", "ex:Pronounceable", Kind::kText, "Pronounceable", "lit"},  // schema:Text's
      {"rdf:Property", "ex:Person, schema:Integer, schema:Number", Kind::kInteger, "Integer",
       "lit xsd:integer xsd:decimal xsd:double"},
      {"rdf:Property", "schema:Number, schema:Text", Kind::kText, "Text",
       "lit xsd:decimal xsd:double +text"},
      {"rdf:Property", "schema:Date, schema:DateTime", Kind::kTemporal, "Date",
       "lit xsd:date xsd:dateTime"},
      {"rdf:Property", "ex:Person, xsd:hexBinary", Kind::kText, "hexBinary", "lit xsd:hexBinary"},
      {"rdf:Property", "ex:Elsewhere, ex:Person", Kind::kComplex, "Person", "lit"},
      {"rdf:Property", "ex:Color", Kind::kText, "Color", "ref ex:Blue ex:Navy ex:Red"},
      {"rdf:Property", "ex:Size", Kind::kText, "Size", "ref ex:Large ex:Small"},
      {"rdf:Property", "ex:Mood", Kind::kText, "Mood", "ref ex:Calm"},
      {"owl:ObjectProperty", "ex:Country", Kind::kText, "Country", "ref ex:America ex:Italy"},
      {"owl:ObjectProperty", "ex:Team", Kind::kComplex, "Team", "lit"},    // has attributes
      {"owl:ObjectProperty", "ex:Mixed", Kind::kComplex, "Mixed", "lit"},  // not all named
  };
  std::string body =
      "ex:Person a rdfs:Class .\n"
      "schema:Text a rdfs:Class .\n"
      "ex:Pronounceable a rdfs:Class ; rdfs:subClassOf schema:Text .\n"
      "ex:Kilogram a rdfs:Datatype .\n"
      "ex:Holder a rdfs:Class .\n"
      "ex:Color a rdfs:Class ; rdfs:subClassOf schema:Enumeration .\n"
      "ex:Shade a rdfs:Class ; rdfs:subClassOf ex:Color .\n"
      "ex:Red a ex:Color . ex:Blue a ex:Color . ex:Navy a ex:Shade .\n"
      "ex:Size a owl:Class ; owl:oneOf ( ex:Small ex:Large ) .\n"
      "ex:Mood a owl:Class ; owl:equivalentClass [ a owl:Class ; owl:oneOf ( ex:Calm ) ] .\n"
      "ex:Country a owl:Class .\n"
      "ex:Italy a owl:NamedIndividual, ex:Country . ex:America a ex:Country, owl:NamedIndividual "
      ".\n"
      "ex:Team a owl:Class . ex:Reds a owl:NamedIndividual, ex:Team .\n"
      "ex:teamName a rdf:Property ; rdfs:domain ex:Team .\n"
      "ex:Mixed a owl:Class . ex:M1 a owl:NamedIndividual, ex:Mixed . ex:M2 a ex:Mixed .\n";
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    body += "ex:p" + std::to_string(10 + i) + " a " + rows[i].type +
            " ; schema:domainIncludes ex:Holder ; schema:rangeIncludes " + rows[i].ranges + " .\n";
  }
  ASSERT_NE(Turtle(body).find("ex::Holder"), std::string::npos) << status_.message();
  const MetaClass* holder = result_.model->GetMetaClass("http://example.org/ex#Holder");
  ASSERT_NE(holder, nullptr);
  ASSERT_EQ(holder->GetAttributes().size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const MetaAttr& attribute = *holder->GetAttributes()[i];
    EXPECT_EQ(attribute.GetInfo().name, "p" + std::to_string(10 + i));
    EXPECT_EQ(qaxoi::test::KindName(attribute.GetInfo().kind),
              qaxoi::test::KindName(QAX::Ontology::Info::KindValue(rows[i].kind)))
        << rows[i].ranges;
    EXPECT_EQ(attribute.GetInfo().typeName, rows[i].typeName) << rows[i].ranges;
    EXPECT_EQ(ValueTypeText(attribute), rows[i].value) << rows[i].ranges;
  }
  // An owl:oneOf range of IRIs is a reference to one of them; one of
  // literals stays a literal.
  ASSERT_NE(Turtle("ex:Holder a rdfs:Class .\n"
                   "ex:to a owl:ObjectProperty ; rdfs:domain ex:Holder ;\n"
                   "  rdfs:range [ a owl:Class ; owl:oneOf ( ex:Zed ex:Ann ) ] .\n"
                   "ex:code a owl:DatatypeProperty ; rdfs:domain ex:Holder ;\n"
                   "  rdfs:range [ a rdfs:Datatype ; owl:oneOf ( \"a\" \"b\" ) ] .\n")
                .find("ex::Holder"),
            std::string::npos);
  holder = result_.model->GetMetaClass("http://example.org/ex#Holder");
  ASSERT_EQ(holder->GetAttributes().size(), 2u);
  EXPECT_EQ(ValueTypeText(*holder->GetAttributes()[0]), "lit");
  EXPECT_EQ(ValueTypeText(*holder->GetAttributes()[1]), "ref ex:Ann ex:Zed");
  // Attributes that write alike share one record.
  ASSERT_NE(Turtle(body).find("ex::Holder"), std::string::npos);
  holder = result_.model->GetMetaClass("http://example.org/ex#Holder");
  EXPECT_EQ(&holder->GetAttributes()[9]->GetValueType(),
            &holder->GetAttributes()[12]->GetValueType());
}

// Bad input gives no model, not even of the good part before the fault, and
// an error that says where; a document without classes loads, with a
// warning.
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
       "doc.ttl:1:1: syntax does not support directives; its content looks like Turtle, not "
       "N-Triples"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Load(c.document, c.syntax), std::string("error: ") + c.error);
  // An empty document and one without classes load, with a warning.
  EXPECT_EQ(Load(""), "");
  EXPECT_EQ(result_.warnings,
            std::vector<std::string>{"doc.ttl: no classes: the document holds no statements"});
  EXPECT_EQ(Load("<http://a.org/x> <http://a.org/p> <http://a.org/y> .\n"), "");
  EXPECT_EQ(
      result_.warnings,
      std::vector<std::string>{"doc.ttl: no classes: no subject is typed rdfs:Class or owl:Class"});
}

// A large document reaches the parser in pages, and each page is checked
// as it comes: a character, a string or brackets split between two pages
// are seen whole, a problem is placed where it is, and the first problem in
// the document is the one reported, whether the document is a text, a file
// or a FIFO (which is read once, so it is kept to place an error).
TEST_F(VocabularyLoaderTest, ProblemsArePlacedWhereverPagesEnd) {
  constexpr std::size_t kPage = 64 << 10;
  // A comment line that puts the first byte of `after` first in a page.
  const auto split = [&](const std::string& before, const std::string& after) {
    return "#" + std::string(kPage - 2 - before.size(), 'x') + "\n" + before + after;
  };
  const std::string s = "<http://e.org/s> <http://e.org/p> ";
  std::string deep;
  for (int i = 0; i < 129; ++i) deep += "[ <http://e.org/p> ";
  const std::string deepBefore = s + deep.substr(0, 100 * 19);
  const auto at = [](std::size_t column, const std::string& what) {
    return "error: doc.ttl:2:" + std::to_string(column) + ": " + what;
  };
  const std::string badByte = "invalid UTF-8 at byte 0x";
  const struct {
    std::string document;
    std::string error;  // empty: the document loads
  } cases[] = {
      {split(s + "\"caf\xC3", "\xA9\" ."), ""},
      {split(s + "\"caf\xE2\x82", "A\" ."), at(s.size() + 5, badByte + "E2")},
      {split("", s + "\"caf\xC3"), at(s.size() + 5, badByte + "C3")},
      {split(s + "\"caf\xC3", ""), at(s.size() + 5, badByte + "C3")},
      {"# caf\xC3", "error: doc.ttl:1:6: " + badByte + "C3"},
      {split(s + "<http://e.org/o> .\n", std::string("\0", 1)),
       "error: doc.ttl:3:1: NUL byte in the document"},
      {split(s + "\"\"\"", std::string(200, '[') + "\"\"\" ."), ""},
      {split(deepBefore, deep.substr(100 * 19) + "<http://e.org/o>" + std::string(129, ']') + " ."),
       at(deepBefore.size() + 28 * 19 + 1,
          "blank nodes and collections nest deeper than 128 levels")},
      // A syntax error before a NUL of the same page is the first problem.
      {s + ".\n" + std::string("\0", 1), "error: doc.ttl:1:36: expected digit"},
      {split(s + "<http://e.org/o> .\n", "un:X a un:Y .\n"),
       "error: doc.ttl:3:12: undefined prefix in \"un:X\""},
  };
  char folder[] = "/tmp/qax-pages-test-XXXXXX";
  ASSERT_NE(nullptr, ::mkdtemp(folder));
  const std::string file = std::string(folder) + "/doc.ttl";
  const std::string fifo = std::string(folder) + "/fifo.ttl";
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  const auto fromFile = [&](const std::string& path, const std::string& name) {
    LoadedModel loaded;
    const qaxoi::Status status = LoadModelFile(path, RdfSyntax::kTurtle, &loaded);
    std::string error = status.message();
    const std::size_t cut = error.find(path);
    if (cut != std::string::npos) error.replace(cut, path.size(), name);
    return status.ok() ? std::string() : "error: " + error;
  };
  for (const auto& c : cases) {
    const std::string head = c.document.substr(c.document.size() < kPage ? 0 : kPage - 40, 80);
    const std::string expected = c.error;
    const std::string text = Load(c.document);
    EXPECT_EQ(expected, text.rfind("error: ", 0) == 0 ? text : "") << head;
    std::ofstream(file, std::ios::binary) << c.document;
    EXPECT_EQ(expected, fromFile(file, "doc.ttl")) << head;
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << c.document; });
    EXPECT_EQ(expected, fromFile(fifo, "doc.ttl")) << head;
    writer.join();
  }
  std::system(("rm -rf '" + std::string(folder) + "'").c_str());
}

// N-Quads are read in segments of whole lines, each by a reader of its own:
// what crosses a segment's end (a line longer than a page) is read whole,
// and an error in a later segment is placed on its line of the document.
TEST_F(VocabularyLoaderTest, NQuadsReadInSegmentsLoseNothingAndPlaceErrors) {
  constexpr int kClasses = 3000;  // about 330 kB: several segments
  const std::string graph = " <http://e.org/g> .\n";
  const std::string longText(100 << 10, 'w');  // longer than a page
  const auto classLine = [&](int i) {
    return "<http://e.org/C" + std::to_string(i) +
           "> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
           "<http://www.w3.org/2000/01/rdf-schema#Class>" +
           graph;
  };
  std::string document;
  for (int i = 0; i < kClasses; ++i) document += classLine(i);
  document += "<http://e.org/C2999> <http://www.w3.org/2000/01/rdf-schema#comment> \"" + longText +
              "\"" + graph;
  document +=
      "<http://e.org/C2999> <http://www.w3.org/2000/01/rdf-schema#subClassOf> <http://e.org/C0>" +
      graph;
  ASSERT_EQ(Load(document, RdfSyntax::kNQuads, "doc.nq").rfind("error: ", 0), std::string::npos);
  EXPECT_EQ(result_.model->GetClassCount(), static_cast<std::size_t>(kClasses));
  const MetaClass* const last = result_.model->GetMetaClass("http://e.org/C2999");
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->GetInfo().doc, longText);
  EXPECT_EQ(last->GetInfo().parentName, "C0");

  // The same bad line first, and after the long line: the same message, at
  // its own line of the document, and at the '.' where an object belongs.
  const std::string bad = "<http://e.org/x> <http://e.org/p> ." + graph;
  const std::string first = Load(bad, RdfSyntax::kNQuads, "doc.nq");
  ASSERT_EQ(first, "error: doc.nq:1:35: expected: ':', '<', or '_'");
  EXPECT_EQ(Load(document + bad, RdfSyntax::kNQuads, "doc.nq"),
            "error: doc.nq:" + std::to_string(kClasses + 3) + first.substr(15));
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
      "ex::A\n  p ex text string\n  r ex text \nex::B\n  p ex text string\n  r ex text \n"
      "ex::C\n  q ex complex A\n");
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
      "ex::A\n  s ex text \nex::B\nex::C\n");  // the union's named member only
  const std::string in = " class expression in domains and ranges (for example in the ";
  EXPECT_EQ((std::vector<std::string>{
                "doc.ttl: ignored 2 owl:intersectionOf class expressions in domains and ranges "
                "(for example in the domain of <http://example.org/ex#p>)",
                "doc.ttl: ignored 1 owl:complementOf" + in + "range of <http://example.org/ex#q>)",
                "doc.ttl: ignored 1 owl:oneOf enumeration in domains and ranges (for example in "
                "the domain of <http://example.org/ex#s>)",
                "doc.ttl: ignored 1 owl:Restriction" + in + "domain of <http://example.org/ex#r>)",
                "doc.ttl: 3 properties have no domain and no restriction, so no class has them as "
                "attributes (<http://example.org/ex#p>, <http://example.org/ex#q>, "
                "<http://example.org/ex#r>)"}),
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
                                                   "<http://example.org/ex#p> is malformed (") +
                                       c.what + "); it is ignored"},
              result_.warnings);
  }
}

// Restrictions a class is a subclass of make attributes of it: kind from the
// filler, else the property's range; counts from every restriction on the
// property, the tightest; none where a domain or a parent already has it.
TEST_F(VocabularyLoaderTest, RestrictionsGiveAttributesWithKindAndCounts) {
  const std::string head =
      "ex:B a owl:Class . ex:D a owl:Class . ex:C a owl:Class ; rdfs:subClassOf ex:B .\n"
      "ex:p a owl:ObjectProperty . ex:d a owl:DatatypeProperty .\n"
      "ex:r a owl:ObjectProperty ; rdfs:range ex:D .\n"
      "ex:C rdfs:subClassOf ";
  const auto on = [](const std::string& property, const std::string& constraint) {
    return "[ a owl:Restriction ; owl:onProperty ex:" + property + " ; " + constraint + " ]";
  };
  const auto sh = [](const std::string& name) {
    return "<http://www.w3.org/ns/shacl#" + name + ">";
  };
  const struct {
    std::string superclasses;  // of ex:C
    const char* attributes;    // ex:C's own: name kind typeName min..max, kind by name
    const char* ignored;       // the warning about what gives no attribute, if any
  } cases[] = {
      {on("p", "owl:someValuesFrom ex:D"), "p complex D 1..*", ""},
      {on("d", "owl:allValuesFrom xsd:int"), "d integer int 0..*", ""},
      {on("d", "owl:hasValue true"), "d boolean boolean 1..*", ""},
      {on("d", "owl:hasValue \"x\"@fr"), "d text langString 1..*", ""},
      {on("r", "owl:hasValue ex:someone"), "r complex D 1..*", ""},
      {on("r", "owl:cardinality 2"), "r complex D 2..2", ""},
      {on("p", "owl:minCardinality 1") + ", " + on("p", "owl:maxCardinality 3") + ", " +
           on("p", "owl:minCardinality 2") + ", " + on("p", "owl:someValuesFrom ex:D"),
       "p complex D 2..3", ""},
      {on("d", "owl:maxQualifiedCardinality 4 ; owl:onDataRange xsd:decimal"),
       "d real decimal 0..4", ""},
      {on("p", "owl:qualifiedCardinality 1 ; owl:onClass ex:B"), "p complex B 1..1", ""},
      {on("d", "owl:someValuesFrom [ a rdfs:Datatype ; owl:onDatatype xsd:integer ]"),
       "d integer integer 1..*", ""},
      {on("r", "owl:allValuesFrom [ owl:unionOf ( ex:B ex:C ) ]"), "r complex D 0..*", ""},
      {on("p", "owl:someValuesFrom ex:D") + ", " + on("p", "owl:allValuesFrom xsd:string"),
       "p text string 1..*", ""},
      {"ex:B . ex:C owl:equivalentClass [ owl:intersectionOf ( ex:B [ owl:intersectionOf (" +
           on("p", "owl:minCardinality 2") + ") ] ) ]",
       "p text  2..*", ""},
      {on("d", "owl:maxCardinality 1") + " . ex:d rdfs:domain ex:C ; rdfs:range xsd:string",
       "d text string 0..1", ""},
      {on("d", "owl:maxCardinality 1") + " . ex:d rdfs:domain ex:B", "", ""},
      // A functional property takes one value on every class; a larger minimum stays.
      {on("r", "owl:minCardinality 2") + " . ex:r a owl:FunctionalProperty", "r complex D 2..1",
       ""},
      {"ex:B . ex:d a owl:FunctionalProperty ; rdfs:domain ex:C ; rdfs:range xsd:string",
       "d text string 0..1", ""},
      // A node shape stated for the class (the class itself, or a target of
      // it) tightens the maximum of the properties it names by one IRI path.
      {"ex:B . ex:d rdfs:domain ex:C ; rdfs:range xsd:string . ex:C a " + sh("NodeShape") + " ; " +
           sh("property") + " [ " + sh("path") + " ex:d ; " + sh("maxCount") + " 3 ]",
       "d text string 0..3", ""},
      {"ex:B . ex:d rdfs:domain ex:C ; rdfs:range xsd:string . ex:S " + sh("targetClass") +
           " ex:C ; " + sh("property") + " [ " + sh("path") + " ex:d ; " + sh("maxCount") +
           " 2 ], [ " + sh("path") + " ex:d ; " + sh("maxCount") + " 1 ], [ " + sh("path") + " [ " +
           sh("inversePath") + " ex:d ] ; " + sh("maxCount") + " 0 ]",
       "d text string 0..1", ""},
      {"ex:B . ex:d rdfs:domain ex:C ; rdfs:range xsd:string . ex:S a " + sh("NodeShape") + " ; " +
           sh("property") + " [ " + sh("path") + " ex:d ; " + sh("maxCount") + " 1 ]",
       "d text string 0..*", ""},
      {on("d", "owl:maxCardinality 1") + " . ex:B rdfs:subClassOf " + on("d", "owl:cardinality 1"),
       "", ""},
      {on("undeclared", "owl:someValuesFrom ex:D"), "",
       "ignored 1 owl:Restriction on a property the document does not declare in "
       "rdfs:subClassOf and owl:equivalentClass (for example in the rdfs:subClassOf of "
       "<http://example.org/ex#C>)"},
      {"ex:B . ex:C owl:equivalentClass " + on("p", "owl:someValuesFrom ex:D"), "",
       "ignored 1 owl:Restriction that a class is equivalent to"},
      {"[ owl:unionOf ( ex:D " + on("p", "owl:someValuesFrom ex:D") + " ) ]", "",
       "ignored 1 owl:unionOf class expression in rdfs:subClassOf"},
      {"[ owl:complementOf ex:D ], [ owl:oneOf ( ex:x ) ]", "",
       "ignored 1 owl:complementOf class expression in rdfs:subClassOf"},
  };
  for (const auto& c : cases) {
    const std::string document = kPrefixes + head + c.superclasses + " .\n";
    ASSERT_EQ(Load(document).rfind("error: ", 0), std::string::npos) << status_.message();
    const MetaClass* cls = result_.model->GetMetaClass("http://example.org/ex#C");
    ASSERT_NE(cls, nullptr);
    std::string attributes;
    for (const MetaAttr* attribute : cls->GetAttributes()) {
      const QAX::Ontology::Info::MetaAttrInfo& a = attribute->GetInfo();
      const MetaAttr::Cardinality count = attribute->GetCardinality();
      attributes += (attributes.empty() ? "" : "; ") + a.name + " " +
                    qaxoi::test::KindName(a.kind) + " " + a.typeName + " " +
                    std::to_string(count.min) + ".." +
                    (count.max == MetaAttr::Cardinality::kUnbounded ? std::string("*")
                                                                    : std::to_string(count.max));
    }
    EXPECT_EQ(attributes, c.attributes) << c.superclasses;
    std::string ignored;
    for (const std::string& warning : result_.warnings) {
      if (warning.find(": ignored ") != std::string::npos) ignored += warning.substr(9);
    }
    EXPECT_EQ(ignored.substr(0, std::string(c.ignored).size()), c.ignored) << c.superclasses;
    EXPECT_EQ(ignored.empty(), *c.ignored == '\0') << ignored;
  }
}

// Every superclass counts: a class's walk (its parent chain, root first,
// each class's GetAttributes) meets the attributes of every superclass, each
// property once, at the first class of the walk that has it; superclasses
// that loop are not followed beyond the parent.
TEST_F(VocabularyLoaderTest, TheWalkMeetsEverySuperclassesAttributesOnce) {
  const auto walk = [this](const char* local) {
    const MetaClass* cls =
        result_.model->GetMetaClass(std::string("http://example.org/ex#") + local);
    if (cls == nullptr) return std::string("no class");
    std::vector<const MetaClass*> chain;
    for (const MetaClass* at = cls; at != nullptr; at = at->GetParent()) {
      chain.insert(chain.begin(), at);
    }
    std::string names;
    for (const MetaClass* at : chain) {
      for (const MetaAttr* attribute : at->GetAttributes()) {
        names += (names.empty() ? "" : " ") + attribute->GetInfo().name;
      }
    }
    names += " |";  // then the class's own, and its superclasses
    for (const MetaAttr* attribute : cls->GetDeclaredAttributes()) {
      names += " " + attribute->GetInfo().name;
    }
    names += " |";
    for (const MetaClass* superclass : cls->GetSuperclasses()) {
      names += " " + superclass->GetInfo().name;
    }
    return names;
  };
  const auto property = [](const char* name, const char* domains) {
    return std::string("ex:") + name + " a owl:DatatypeProperty ; schema:domainIncludes " +
           domains + " .\n";
  };
  const std::string loop =
      "doc.ttl: <http://example.org/ex#B> rdfs:subClassOf <http://example.org/ex#A> would close "
      "a loop of parents; <http://example.org/ex#B> is left without a parent";
  const struct {
    std::string statements;
    const char* cls;
    const char* walk;  // link names | declared | superclasses
    std::vector<std::string> warnings;
  } cases[] = {
      // A diamond: D's parent B, then C's walk without what B's has.
      // A diamond: D's parent B, then C's walk without what B's has, then
      // E's without what C's has.
      {"ex:A a owl:Class . ex:B a owl:Class ; rdfs:subClassOf ex:A .\n"
       "ex:C a owl:Class ; rdfs:subClassOf ex:A . ex:E a owl:Class ; rdfs:subClassOf ex:A .\n"
       "ex:D a owl:Class ; rdfs:subClassOf ex:E, ex:C, ex:B .\n" +
           property("a", "ex:A") + property("b", "ex:B") + property("bc", "ex:B, ex:C") +
           property("c", "ex:C") + property("ce", "ex:C, ex:E") + property("d", "ex:D"),
       "D",
       "a b bc c ce d | d | B C E",
       {}},
      // A second superclass of another namespace, with a parent of its own:
      // after the parent's walk, though its IRI is less.
      {"ex:B a owl:Class . ex:D a owl:Class ; rdfs:subClassOf ex:B, <http://a.org/m#M> .\n"
       "<http://a.org/m#M> a owl:Class ; rdfs:subClassOf <http://a.org/m#N> .\n"
       "<http://a.org/m#N> a owl:Class .\n"
       "<http://a.org/m#m> a owl:DatatypeProperty ; rdfs:domain <http://a.org/m#M> .\n"
       "<http://a.org/m#n> a owl:DatatypeProperty ; rdfs:domain <http://a.org/m#N> .\n" +
           property("b", "ex:B") + property("d", "ex:D"),
       "D",
       "b n m d | d | B M",
       {}},
      // Subclasses of each other: each attribute once, the loop not followed.
      {"ex:A a owl:Class ; rdfs:subClassOf ex:B . ex:B a owl:Class ; rdfs:subClassOf ex:A .\n"
       "ex:C a owl:Class ; rdfs:subClassOf ex:A, ex:B .\n" +
           property("a", "ex:A") + property("b", "ex:B") + property("c", "ex:C"),
       "C",
       "b a c | c | A B",
       {loop}},
      // A property whose domain names a class and its superclass.
      {"ex:A a owl:Class . ex:B a owl:Class ; rdfs:subClassOf ex:A .\n" +
           property("p", "ex:A, ex:B") + property("q", "ex:B"),
       "B",
       "p q | q | A",
       {}},
      // A restriction on a property that a mixin superclass declares.
      {"ex:B a owl:Class . ex:M a owl:Class .\n"
       "ex:D a owl:Class ; rdfs:subClassOf ex:B, ex:M,\n"
       "  [ a owl:Restriction ; owl:onProperty ex:m ; owl:minCardinality 1 ] .\n" +
           property("b", "ex:B") + property("m", "ex:M"),
       "D",
       "b m | | B M",
       {}},
      // ... and below it, where the parent's walk has the mixin's property
      // from a class up the chain.
      {"ex:B a owl:Class . ex:M a owl:Class . ex:D a owl:Class ; rdfs:subClassOf ex:B, ex:M .\n"
       "ex:F a owl:Class ; rdfs:subClassOf ex:D . ex:E a owl:Class ; rdfs:subClassOf ex:F .\n" +
           property("b", "ex:B") + property("m", "ex:M, ex:E"),
       "E",
       "b m | | F",
       {}},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Turtle(c.statements).rfind("error: ", 0), std::string::npos) << status_.message();
    EXPECT_EQ(walk(c.cls), c.walk) << c.statements;
    EXPECT_EQ(result_.warnings, c.warnings) << c.statements;
  }
}

// Forming the walks takes steps in proportion to the document: a chain of
// classes each also a subclass of one of another chain would take the square
// of its length. Past the steps, classes keep their parent's walk.
TEST_F(VocabularyLoaderTest, WalksBeyondTheStepsKeepTheParentsWalkWithAWarning) {
  constexpr int kChain = 300;
  std::string document = kPrefixes;
  for (int i = 0; i < kChain; ++i) {
    const std::string n = std::to_string(i);
    const std::string previous = std::to_string(i - 1);
    document += "ex:A" + n + " a owl:Class" + (i > 0 ? " ; rdfs:subClassOf ex:A" + previous : "") +
                " ; rdfs:subClassOf <http://o.org/b#B" + n + "> .\n<http://o.org/b#B" + n +
                "> a owl:Class" +
                (i > 0 ? " ; rdfs:subClassOf <http://o.org/b#B" + previous + ">" : "") +
                " .\n<http://o.org/b#b" + n +
                "> a owl:DatatypeProperty ; rdfs:domain <http://o.org/b#B" + n + "> .\n";
  }
  ASSERT_EQ(Load(document).rfind("error: ", 0), std::string::npos) << status_.message();
  EXPECT_EQ(result_.warnings,
            std::vector<std::string>{
                "doc.ttl: more superclasses to look through than the document's size allows "
                "(37664 steps); 107 classes get the attributes of their parents only, not those of "
                "their other superclasses (for example <http://example.org/ex#A193>), and some "
                "attributes may repeat an inherited one"});
  std::string names;
  for (const MetaClass* at = result_.model->GetMetaClass("http://example.org/ex#A299");
       at != nullptr; at = at->GetParent()) {
    for (const MetaAttr* attribute : at->GetAttributes()) names += attribute->GetInfo().name + " ";
  }
  EXPECT_NE(names.find("b0 "), std::string::npos);
  EXPECT_NE(names.find("b192 "), std::string::npos);
  EXPECT_EQ(names.find("b193 "), std::string::npos);
}

// Several fillers of one restriction, or several enumerations of one
// property or restriction, decide the same whatever their order: the least
// IRI filler (an anonymous one only when it is the only one), the least
// enumeration by its values. Language tags are kept in lower case.
TEST_F(VocabularyLoaderTest, SeveralFillersOrEnumerationsGiveTheLeast) {
  const std::string head =
      "ex:B a owl:Class . ex:D a owl:Class . ex:C a owl:Class .\n"
      "ex:r a owl:ObjectProperty ; rdfs:range ex:D .\n";
  const struct {
    std::string statements;
    const char* attribute;  // ex:C's: name kind typeName min..max; then its range's values
  } cases[] = {
      {"ex:C rdfs:subClassOf [ owl:onProperty ex:r ; owl:someValuesFrom ex:D ;\n"
       "  owl:someValuesFrom ex:B ] .",
       "r complex B 1..* all: B"},
      {"ex:C rdfs:subClassOf [ owl:onProperty ex:r ; owl:allValuesFrom [ owl:unionOf ( ex:B ) ] ;\n"
       "  owl:allValuesFrom [ owl:unionOf ( ex:C ) ] ] .",
       "r complex D 0..* all: D"},
      // Individuals: a reference to one of them.
      {"ex:C rdfs:subClassOf [ owl:onProperty ex:r ; owl:allValuesFrom [ owl:oneOf ( ex:B ) ] ] .",
       "r text D 0..* all: D in: <B>"},
      {"ex:C rdfs:subClassOf [ owl:onProperty ex:r ; owl:minCardinality 1 ;\n"
       "  owl:allValuesFrom [ owl:oneOf ( \"b\" ) ] ],\n"
       "  [ owl:onProperty ex:r ; owl:allValuesFrom [ owl:oneOf ( \"a\" \"z\"@EN-GB ) ] ] .",
       "r complex D 1..* all: D in: a z@en-gb"},
      {"ex:q a owl:DatatypeProperty ; rdfs:domain ex:C ;\n"
       "  rdfs:range [ owl:oneOf ( \"b\" ) ], [ owl:oneOf ( \"a\"^^xsd:string 2 ) ] .",
       "q text  0..* in: a 2^integer"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Turtle(head + c.statements).rfind("error: ", 0), std::string::npos)
        << status_.message();
    const MetaClass* cls = result_.model->GetMetaClass("http://example.org/ex#C");
    ASSERT_NE(cls, nullptr);
    ASSERT_EQ(cls->GetAttributes().size(), 1u) << c.statements;
    const MetaAttr& attribute = *cls->GetAttributes().front();
    const QAX::Ontology::Info::MetaAttrInfo& a = attribute.GetInfo();
    const MetaAttr::Cardinality count = attribute.GetCardinality();
    std::string text = a.name + " " + qaxoi::test::KindName(a.kind) + " " + a.typeName + " " +
                       std::to_string(count.min) + ".." +
                       (count.max == MetaAttr::Cardinality::kUnbounded ? std::string("*")
                                                                       : std::to_string(count.max));
    if (const QAX::Ontology::AttrRange* range = attribute.GetRange()) {
      if (!range->allOf.empty()) text += " all:";
      for (const QAX::Ontology::AttrRangeTerm& term : range->allOf) {
        text += " " + term.iri.substr(term.iri.find('#') + 1);
      }
      if (!range->oneOf.empty()) text += " in:";
      for (const QAX::Ontology::AttrValue& value : range->oneOf) {
        text +=
            " " +
            (value.isIri ? "<" + value.text.substr(value.text.find('#') + 1) + ">" : value.text) +
            (value.language.empty() ? "" : "@" + value.language) +
            (value.datatype.empty() ? ""
                                    : "^" + value.datatype.substr(value.datatype.find('#') + 1));
      }
    }
    EXPECT_EQ(text, c.attribute) << c.statements;
  }
}

// dcterms:isReplacedBy and schema:supersededBy (either scheme) name a
// replacement, owl:equivalentClass and owl:equivalentProperty an equivalent
// both ways round; replacements come first, each group by IRI; anonymous
// terms, literals and a term named in its own place give nothing.
TEST_F(VocabularyLoaderTest, ReplacementsAndEquivalentsAreTheTermsSuccessors) {
  ASSERT_EQ(Turtle("ex:Old a owl:Class ; dcterms:isReplacedBy ex:New ;\n"
                   "  owl:equivalentClass ex:Same, ex:New .\n"
                   "ex:New a owl:Class . ex:Same a owl:Class .\n"
                   "ex:old a rdf:Property ; schema:supersededBy ex:new .\n"
                   "ex:older <https://schema.org/supersededBy> ex:newer, ex:new ;\n"
                   "  owl:equivalentProperty ex:same .\n"
                   "ex:gone dcterms:isReplacedBy [ a owl:Class ], \"text\" ;\n"
                   "  owl:equivalentClass [ owl:unionOf ( ex:New ) ] .\n"
                   "ex:Self owl:equivalentClass ex:Self ; dcterms:isReplacedBy ex:Self .\n")
                .rfind("error: ", 0),
            std::string::npos)
      << status_.message();
  const std::string ex = "http://example.org/ex#";
  const struct {
    const char* term;
    const char* successors;
  } cases[] = {
      {"Old", "replaced New; equivalent Same"},
      {"New", "equivalent Old"},
      {"Same", "equivalent Old"},
      {"old", "replaced new"},
      {"older", "replaced new; replaced newer; equivalent same"},
      {"same", "equivalent older"},
      {"new", ""},
      {"gone", ""},
      {"Self", ""},
  };
  for (const auto& c : cases) {
    std::string text;
    for (const QAX::Ontology::TermSuccessor& successor :
         result_.model->GetSuccessors(ex + c.term)) {
      text +=
          (text.empty() ? "" : "; ") +
          std::string(successor.how == QAX::Ontology::TermSuccession::kReplacedBy ? "replaced "
                                                                                  : "equivalent ") +
          successor.iri.substr(ex.size());
    }
    EXPECT_EQ(text, c.successors) << c.term;
  }
}

}  // namespace
}  // namespace qaxoi::test
