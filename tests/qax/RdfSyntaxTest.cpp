// Syntaxes: told from names and first bytes, refused with a message that
// says what was found, and RDF/XML read as ontology editors save it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/rdf/Rdf.h"
#include "tests/support/KindName.h"
#include "tests/support/ServiceNames.h"

namespace qaxoi::test {

namespace {

constexpr char kRdf[] = "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"";
constexpr char kOwlClass[] = "<http://www.w3.org/2002/07/owl#Class>";
constexpr char kRead[] = "; the syntaxes read are Turtle, N-Triples, N-Quads, TriG and RDF/XML";

// An attribute's range as text: " all: IRI/kind ... any: ... in: value ...",
// each part only when it has terms, kinds by name (KindName); empty for no
// range.
std::string RangeText(const AttrRange* range) {
  if (range == nullptr) return "";
  std::string text;
  const auto terms = [&text](const char* name, const std::vector<AttrRangeTerm>& list) {
    if (list.empty()) return;
    text += std::string(" ") + name + ":";
    for (const AttrRangeTerm& term : list)
      text += " " + term.iri + "/" + qaxoi::test::KindName(term.kind);
  };
  terms("all", range->allOf);
  terms("any", range->anyOf);
  if (!range->oneOf.empty()) text += " in:";
  for (const AttrValue& value : range->oneOf) {
    text += value.isIri ? " <" + value.text + ">"
                        : " \"" + value.text + "\"^" + value.datatype + "@" + value.language;
  }
  return text;
}

// The whole model as text: per library its name, per class its handle, FQ
// name, parent and doc, per attribute its name, scope, kind, type name,
// counts and range.
std::string Describe(const OntologyModel& model) {
  std::string text;
  for (const MetaClassLibrary* library : model.GetLibraries()) {
    text += "library " + library->GetName() + "\n";
    for (const MetaClass* cls : library->GetClasses()) {
      const QAX::Ontology::Info::MetaClassInfo& info = cls->GetInfo();
      text += "  " + info.handle + " " + cls->GetFQName() + " < " + info.parentScopeName +
              "::" + info.parentName + " \"" + info.doc + "\"\n";
      for (const MetaAttr* attribute : cls->GetAttributes()) {
        const QAX::Ontology::Info::MetaAttrInfo& a = attribute->GetInfo();
        const AttrCardinality counts = attribute->GetCardinality();
        text += "    " + a.name + " " + a.scopeName + " " + qaxoi::test::KindName(a.kind) + " " +
                a.typeName + " " + std::to_string(counts.min) + ".." +
                (counts.max == AttrCardinality::kUnbounded ? "*" : std::to_string(counts.max)) +
                RangeText(attribute->GetRange()) + "\n";
      }
    }
  }
  return text;
}

// What loading `text` gives: the error, or the handles of the classes.
std::string Loaded(const std::string& text, RdfSyntax syntax, const std::string& name) {
  LoadedModel result;
  const qaxoi::Status status = LoadModelText(text, syntax, name, "", &result);
  if (!status.ok()) return "error: " + status.message();
  std::string handles;
  for (const MetaClassLibrary* library : result.model->GetLibraries()) {
    for (const MetaClass* cls : library->GetClasses()) handles += cls->GetInfo().handle + " ";
  }
  return handles;
}

TEST(RdfSyntax, IsToldFromTheNameElseTheFirstBytesAndWhatIsNotReadIsRefusedByName) {
  const std::string rdfXml = std::string("<rdf:RDF ") + kRdf +
                             "><rdf:Description rdf:about=\"http://e.org/A\"><rdf:type "
                             "rdf:resource=\"http://www.w3.org/2002/07/owl#Class\"/>"
                             "</rdf:Description></rdf:RDF>\n";
  const std::string turtle = std::string("<http://e.org/A> a ") + kOwlClass + " .\n";
  const struct {
    const char* name;
    std::string text;
    RdfSyntax syntax;
    std::string expected;
  } cases[] = {
      {"v.owl",
       "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- c -->\n<!DOCTYPE rdf:RDF [\n"
       "<!ENTITY rdf \"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">]>\n" +
           rdfXml,
       RdfSyntax::kDetect, "http://e.org/A "},
      // Another prefix for the RDF namespace, and a root node element.
      {"v.xml",
       "<r:RDF xmlns:r=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><r:Description "
       "r:about=\"http://e.org/A\"><r:type r:resource=\"http://www.w3.org/2002/07/"
       "owl#Class\"/></r:Description></r:RDF>",
       RdfSyntax::kDetect, "http://e.org/A "},
      {"v",
       std::string("<owl:Class ") + kRdf +
           " xmlns:owl=\"http://www.w3.org/2002/07/owl#\" rdf:about=\"http://e.org/A\"/>",
       RdfSyntax::kDetect, "http://e.org/A "},
      {"v.RDF", rdfXml, RdfSyntax::kDetect, "http://e.org/A "},
      {"v.TTL", rdfXml, RdfSyntax::kDetect,
       "error: v.TTL:1:10: invalid IRI character (escape %20); its content looks like RDF/XML, "
       "but its name says Turtle"},
      {"v.ttl", rdfXml, RdfSyntax::kRdfXml, "http://e.org/A "},
      {"v.owl", "# c\n@prefix e: <http://e.org/> .\ne:A a " + std::string(kOwlClass) + " .\n",
       RdfSyntax::kDetect, "http://e.org/A "},
      {"v.owl", "PREFIX e: <http://e.org/>\ne:A a " + std::string(kOwlClass) + " .\n",
       RdfSyntax::kDetect, "http://e.org/A "},
      {"v.owl", turtle, RdfSyntax::kDetect, "http://e.org/A "},
      {"v.owl",
       "<http://e.org/A> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> " +
           std::string(kOwlClass) + " <http://e.org/g> .\n",
       RdfSyntax::kDetect, "http://e.org/A "},
      {"v", "_:b <http://e.org/p> <http://e.org/o> <http://e.org/g> .\n", RdfSyntax::kDetect, ""},
      {"v.trig", "<http://e.org/g> { " + turtle + "}\n", RdfSyntax::kDetect, "http://e.org/A "},
      {"v", "{ " + turtle + "}\n", RdfSyntax::kDetect, "http://e.org/A "},
      {"v", "", RdfSyntax::kDetect, ""},
      {"v", "<http://e.org/xmlns> a " + std::string(kOwlClass) + " .\n", RdfSyntax::kDetect,
       "http://e.org/xmlns "},
      {"v.owl",
       "<?xml version=\"1.0\"?>\n<Ontology xmlns=\"http://www.w3.org/2002/07/owl#\" "
       "ontologyIRI=\"http://e.org/\"/>",
       RdfSyntax::kDetect,
       std::string("error: v.owl: the document is OWL/XML, which is not read") + kRead},
      {"v.owl", "Prefix(:=<http://e.org/>)\nOntology(<http://e.org/>)\n", RdfSyntax::kDetect,
       std::string("error: v.owl: the document is in the OWL functional syntax, which is not "
                   "read") +
           kRead},
      {"v.omn", "Prefix: : <http://e.org/>\nClass: A\n", RdfSyntax::kDetect,
       std::string("error: v.omn: the document is in the OWL Manchester syntax, which is not "
                   "read") +
           kRead},
      {"v.jsonld", "[ { \"@id\": \"http://e.org/A\" } ]", RdfSyntax::kDetect,
       std::string("error: v.jsonld: the document is JSON (JSON-LD?), which is not read") + kRead},
      {"v.xml", "<?xml version=\"1.0\"?><html xmlns=\"http://www.w3.org/1999/xhtml\"/>",
       RdfSyntax::kDetect,
       std::string("error: v.xml: the document is XML whose root element is <html>, not "
                   "rdf:RDF") +
           kRead},
      {"v.dat", "\x01\x02", RdfSyntax::kDetect,
       std::string("error: v.dat: cannot tell the RDF syntax from the name or the first bytes") +
           kRead},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, Loaded(c.text, c.syntax, c.name)) << c.name << ": " << c.text;
  }

  RdfSyntax syntax = RdfSyntax::kTurtle;
  for (const char* name : {"turtle", "ntriples", "nquads", "trig", "rdfxml"}) {
    EXPECT_TRUE(ParseRdfSyntaxName(name, &syntax).ok());
    EXPECT_STREQ(name, RdfSyntaxName(syntax));
  }
  const qaxoi::Status unknown = ParseRdfSyntaxName("RDFXML", &syntax);
  EXPECT_EQ(RdfSyntax::kRdfXml, syntax);
  EXPECT_EQ(qaxoi::Status::Code::kInvalidArgument, unknown.code());
  EXPECT_EQ("unknown syntax 'RDFXML'; use turtle, ntriples, nquads, trig or rdfxml",
            unknown.message());
}

// The same ontology as an ontology editor saves it in RDF/XML (entities,
// xml:base, the default namespace, rdf:ID, rdf:nodeID, typed node elements,
// parseType Collection and Resource, nested restrictions, languages,
// datatypes) and written by hand in Turtle gives the same model.
TEST(RdfXml, AnEditorsOntologyGivesTheSameModelAsInTurtle) {
  const std::string folder = std::string(QAX_SOURCE_DIR) + "/tests/data/";
  LoadedModel owl;
  LoadedModel ttl;
  const qaxoi::Status owlLoad = LoadModelFile(folder + "tutorial.owl", RdfSyntax::kDetect, &owl);
  const qaxoi::Status ttlLoad = LoadModelFile(folder + "tutorial.ttl", RdfSyntax::kDetect, &ttl);
  ASSERT_TRUE(owlLoad.ok()) << owlLoad.message();
  ASSERT_TRUE(ttlLoad.ok()) << ttlLoad.message();
  EXPECT_EQ(30u, owl.model->GetClassCount());
  const std::string model = Describe(*owl.model);
  EXPECT_EQ(Describe(*ttl.model), model);
  // Restrictions give attributes with their counts, to the class they
  // restrict unless a parent already has the property; a class defined as
  // an intersection with a named class descends from it. Ranges are kept
  // with their terms' kinds, and enumerations of individuals and literals.
  const std::string pizza = "http://example.org/tutorial/pizza.owl#";
  const std::string xsd = "http://www.w3.org/2001/XMLSchema#";
  const std::string countries = " in: <" + pizza + "America> <" + pizza + "Italy>";
  for (const std::string& excerpt : {
           pizza +
               "Pizza pizza::Pizza < pizza::Food \"A dish of dough, baked with toppings.\"\n"
               "    hasBase pizza complex PizzaBase 1..1 all: " +
               pizza +
               "PizzaBase/complex\n"
               "    hasDiameter pizza real decimal 0..* all: " +
               xsd +
               "decimal/real\n"
               "    hasTopping pizza complex PizzaTopping 0..12 all: " +
               pizza +
               "PizzaTopping/complex\n"
               "    nickname pizza text string 0..* all: " +
               xsd + "string/text in: \"Margie\"^@ \"Queen\"^@en\n",
           pizza +
               "NamedPizza pizza::NamedPizza < pizza::Pizza \"\"\n"
               "    hasCalorificContentValue pizza integer integer 1..1 all: " +
               xsd + "integer/integer\n",
           pizza +
               "American pizza::American < pizza::NamedPizza \"\"\n"
               "    hasCountryOfOrigin pizza text  1..*" +
               countries + "\n",
           pizza +
               "MozzarellaTopping pizza::MozzarellaTopping < pizza::CheeseTopping \"\"\n"
               "    hasCountryOfOrigin pizza text  1..*" +
               countries +
               "\n"
               "    hasSpiciness pizza complex Mild 1..1 all: " +
               pizza + "Mild/complex\n",
           pizza +
               "PepperTopping pizza::PepperTopping < pizza::VegetableTopping \"\"\n"
               "    hasSpiciness pizza complex Hot 0..1 all: " +
               pizza + "Hot/complex\n",
           pizza + "InterestingPizza pizza::InterestingPizza < pizza::Pizza \"\"\n  " + pizza,
       }) {
    EXPECT_NE(std::string::npos, model.find(excerpt)) << excerpt << "\nnot in\n" << model;
  }
  std::vector<std::string> warnings = owl.warnings;
  for (std::string& warning : warnings) {
    for (std::size_t at = warning.find("tutorial.owl"); at != std::string::npos;
         at = warning.find("tutorial.owl", at)) {
      warning.replace(at, 12, "tutorial.ttl");
    }
  }
  EXPECT_EQ(ttl.warnings, warnings);
}

// Errors name the line and the column where the parser stood: the '>' of
// the tag that holds the problem.
TEST(RdfXml, ErrorsGiveTheLineAndColumn) {
  const std::string open = std::string("<rdf:RDF ") + kRdf + ">\n";
  const std::pair<std::string, std::string> cases[] = {
      {open + "  <rdf:Description rdf:about=\"http://e.org/a\">\n</rdf:RDF>\n",
       "t.rdf:3:10: Opening and ending tag mismatch: rdf:Description and rdf:RDF"},
      {open + "  <rdf:Description rdf:about=\"&owl;A\"/>\n</rdf:RDF>\n",
       "t.rdf:2:39: Entity 'owl' not defined"},
      {open + "  <rdf:Description rdf:about=\"http://e.org/a\">\n"
              "    <rdf:type rdf:resource=\"Thing\"/>\n  </rdf:Description>\n</rdf:RDF>\n",
       "t.rdf:3:36: relative IRI <Thing> and no base IRI to resolve it against"},
      {open + std::string("  <!-- \0 -->\n</rdf:RDF>\n", 13),
       "t.rdf:2:8: NUL byte in the document"},
  };
  for (const auto& [text, error] : cases) {
    EXPECT_EQ("error: " + error, Loaded(text, RdfSyntax::kDetect, "t.rdf")) << text;
  }
}

}  // namespace
}  // namespace qaxoi::test
