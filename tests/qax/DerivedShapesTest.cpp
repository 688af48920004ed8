#include "host/qax/shacl/DerivedShapes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/rdf/Rdf.h"
#include "tests/support/ParsedRdf.h"
#include "tests/support/ServiceNames.h"

namespace qaxoi::test {
using qaxoi::shacl::DerivedShapesTurtle;

namespace {

constexpr char kPrefixes[] =
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
    "@prefix schema: <http://schema.org/> .\n"
    "@prefix ex: <http://example.org/ex#> .\n"
    "ex:C a owl:Class . ex:D a owl:Class . ex:E a owl:Class .\n";

// What the shapes graph says of ex:C: the text after its target, which
// holds its property shapes.
class DerivedShapes : public ::testing::Test {
 protected:
  std::string ShapesOfC(const std::string& body) {
    LoadedModel loaded;
    const qaxoi::Status status =
        LoadModelText(kPrefixes + body, RdfSyntax::kTurtle, "doc.ttl", "", &loaded);
    if (!status.ok()) return "error: " + status.message();
    const MetaClass* c = loaded.model->GetMetaClass("http://example.org/ex#C");
    const std::string document = DerivedShapesTurtle(*loaded.model, {c});
    // Every document reads back as Turtle.
    const std::vector<std::string> statements = qaxoi::test::ParsedStatements(document);
    if (!statements.empty() && statements[0].rfind("error:", 0) == 0) return statements[0];
    const std::string target = "  sh:targetClass ex:C";
    const std::size_t at = document.find(target);
    return at == std::string::npos ? document : document.substr(at + target.size());
  }
};

TEST_F(DerivedShapes, EachVocabularyStatementGivesItsConstraint) {
  const auto shape = [](const std::string& lines) {
    return " ;\n  sh:property [\n    sh:path ex:p ;\n    sh:name \"p\"" + lines + "\n  ] .\n";
  };
  const struct {
    const char* what;
    std::string vocabulary;
    std::string expected;
  } cases[] = {
      {"a datatype range", "ex:p a rdf:Property ; rdfs:domain ex:C ; rdfs:range xsd:date .",
       shape(" ;\n    sh:datatype xsd:date")},
      {"a class range, a nested item",
       "ex:p a owl:ObjectProperty ; rdfs:domain ex:C ; rdfs:range ex:D .",
       shape(" ;\n    sh:class ex:D")},
      {"rangeIncludes: any one of them",
       "ex:p a rdf:Property ; schema:domainIncludes ex:C ; schema:rangeIncludes ex:D, ex:E .",
       shape(" ;\n    sh:or ( [ sh:class ex:D ] [ sh:class ex:E ] )")},
      {"a union range: any one of its members",
       "ex:p a rdf:Property ; rdfs:domain ex:C ; rdfs:range [ owl:unionOf ( ex:D xsd:boolean ) ] .",
       shape(" ;\n    sh:or ( [ sh:class ex:D ] [ sh:datatype xsd:boolean ] )")},
      {"two rdfs:range: both hold",
       "ex:p a rdf:Property ; rdfs:domain ex:C ; rdfs:range ex:D, ex:E .",
       shape(" ;\n    sh:and ( [ sh:class ex:D ] [ sh:class ex:E ] )")},
      {"someValuesFrom: at least one",
       "ex:p a owl:ObjectProperty . ex:C rdfs:subClassOf [ a owl:Restriction ; "
       "owl:onProperty ex:p ; owl:someValuesFrom ex:D ] .",
       shape(" ;\n    sh:minCount 1 ;\n    sh:class ex:D")},
      {"cardinality 2: exactly two",
       "ex:p a rdf:Property ; rdfs:domain ex:C . ex:C rdfs:subClassOf [ a owl:Restriction ; "
       "owl:onProperty ex:p ; owl:cardinality 2 ] .",
       shape(" ;\n    sh:minCount 2 ;\n    sh:maxCount 2")},
      {"a minimum and a maximum, any text",
       "ex:p a rdf:Property ; rdfs:domain ex:C ; rdfs:range rdfs:Literal . ex:C rdfs:subClassOf "
       "[ owl:onProperty ex:p ; owl:minCardinality 1 ], [ owl:onProperty ex:p ; "
       "owl:maxCardinality 3 ] .",
       shape(" ;\n    sh:minCount 1 ;\n    sh:maxCount 3 ;\n    sh:or ( [ sh:datatype xsd:string ] "
             "[ sh:datatype rdf:langString ] )")},
      {"oneOf of literals",
       "ex:p a rdf:Property ; rdfs:domain ex:C ; rdfs:range [ a rdfs:Datatype ; owl:oneOf "
       "( \"a\\\"b\" \"z\"@en 7 ) ] .",
       shape(" ;\n    sh:in ( \"a\\\"b\" \"z\"@en \"7\"^^xsd:integer )")},
      {"oneOf of individuals, as a restriction's filler",
       "ex:p a owl:ObjectProperty . ex:C rdfs:subClassOf [ a owl:Restriction ; owl:onProperty "
       "ex:p ; owl:allValuesFrom [ a owl:Class ; owl:oneOf ( ex:red <urn:x:green> ) ] ] .",
       shape(" ;\n    sh:nodeKind sh:IRI ;\n    sh:in ( ex:red <urn:x:green> )")},
      {"an unmapped datatype: itself",
       "ex:p a rdf:Property ; rdfs:domain ex:C ; rdfs:range xsd:hexBinary . ex:C rdfs:subClassOf "
       "[ owl:onProperty ex:p ; owl:maxCardinality 1 ] .",
       shape(" ;\n    sh:maxCount 1 ;\n    sh:datatype xsd:hexBinary")},
      {"a datatype of the vocabulary's own: itself",
       "ex:Kg a rdfs:Datatype . ex:p a rdf:Property ; rdfs:domain ex:C ; rdfs:range ex:Kg .",
       shape(" ;\n    sh:datatype ex:Kg")},
      {"xsd:gYear: itself", "ex:p a rdf:Property ; rdfs:domain ex:C ; rdfs:range xsd:gYear .",
       shape(" ;\n    sh:datatype xsd:gYear")},
      {"a class of another vocabulary: an IRI",
       "ex:p a rdf:Property ; rdfs:domain ex:C ; rdfs:range <http://other.org/Doc> .",
       shape(" ;\n    sh:nodeKind sh:IRI")},
      {"owl:Thing: an IRI", "ex:p a owl:ObjectProperty ; rdfs:domain ex:C ; rdfs:range owl:Thing .",
       shape(" ;\n    sh:nodeKind sh:IRI")},
      {"an enumeration class: one of its individuals",
       "ex:Colour a owl:Class ; rdfs:subClassOf schema:Enumeration . ex:red a ex:Colour .\n"
       "ex:blue a ex:Colour . ex:p a rdf:Property ; rdfs:domain ex:C ; rdfs:range ex:Colour .",
       shape(" ;\n    sh:nodeKind sh:IRI ;\n    sh:in ( ex:blue ex:red )")},
      {"a number or a text: either",
       "ex:p a rdf:Property ; rdfs:domain ex:C ; schema:rangeIncludes schema:Number, schema:Text .",
       shape(" ;\n    sh:or ( [ sh:or ( [ sh:datatype xsd:decimal ] [ sh:datatype xsd:double ] ) ] "
             "[ sh:or ( [ sh:datatype xsd:string ] [ sh:datatype rdf:langString ] ) ] )")},
      {"no range: nothing", "ex:p a rdf:Property ; rdfs:domain ex:C .", shape("")},
      {"a functional property: one value at most",
       "ex:p a rdf:Property, owl:FunctionalProperty ; rdfs:domain ex:C .",
       shape(" ;\n    sh:maxCount 1")},
      {"numbers and times as the item writer writes them, ranges in IRI order",
       "ex:p a rdf:Property ; rdfs:domain ex:C ; schema:rangeIncludes xsd:float, xsd:duration .",
       shape(" ;\n    sh:or ( [ sh:datatype xsd:duration ] [ sh:datatype xsd:float ] )")},
      {"no attributes: the target only", "", " .\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, ShapesOfC(c.vocabulary)) << c.what;
}

// Parents' attributes come first, as the module's links do; the sample's
// beings need a name.
TEST_F(DerivedShapes, OfTheSamplesPenguinAreItsGoldenTurtle) {
  const char* const kSample = R"TTL(@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .
@prefix owl: <http://www.w3.org/2002/07/owl#> .
@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .
@prefix zoo: <http://example.org/zoo#> .
zoo:Being a owl:Class ;
  rdfs:subClassOf [ a owl:Restriction ; owl:onProperty zoo:name ; owl:minCardinality 1 ] .
zoo:Penguin a owl:Class ; rdfs:subClassOf zoo:Being .
zoo:name a owl:DatatypeProperty ; rdfs:domain zoo:Being ; rdfs:range xsd:string .
zoo:born a owl:DatatypeProperty ; rdfs:domain zoo:Penguin ; rdfs:range xsd:date .
)TTL";
  LoadedModel loaded;
  const qaxoi::Status status = LoadModelText(kSample, RdfSyntax::kTurtle, "zoo.ttl", "", &loaded);
  ASSERT_TRUE(status.ok()) << status.message();
  const MetaClass* penguin = loaded.model->GetMetaClass("http://example.org/zoo#Penguin");
  const std::string expected =
      "@prefix zoo: <http://example.org/zoo#> .\n"
      "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
      "@prefix sh: <http://www.w3.org/ns/shacl#> .\n"
      "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
      "\n"
      "zoo:PenguinShape\n"
      "  a sh:NodeShape ;\n"
      "  sh:targetClass zoo:Penguin ;\n"
      "  sh:property [\n"
      "    sh:path zoo:name ;\n"
      "    sh:name \"name\" ;\n"
      "    sh:minCount 1 ;\n"
      "    sh:datatype xsd:string\n"
      "  ] ;\n"
      "  sh:property [\n"
      "    sh:path zoo:born ;\n"
      "    sh:name \"born\" ;\n"
      "    sh:datatype xsd:date\n"
      "  ] .\n";
  EXPECT_EQ(expected, DerivedShapesTurtle(*loaded.model, {penguin, nullptr}));
  // No class named: every class, in library order.
  const std::string all = DerivedShapesTurtle(*loaded.model, {});
  EXPECT_LT(all.find("zoo:BeingShape"), all.find("zoo:PenguinShape"));
}

// A model built in code may hold names no IRI or prefix can carry: the
// document says what it left out, and stays Turtle.
TEST_F(DerivedShapes, OfAModelBuiltInCodeNameWhatHasNoIri) {
  OntologyModel model;
  MetaClassLibrary* library = model.AddLibrary("lib");
  model.SetNamespace("lib", "http://e.org/lib/");
  MetaClass* named = model.AddClass(
      library, {"Thing", "lib", "http://e.org/lib/Thing", "", "", false, ""}, nullptr);
  const std::int32_t complex =
      QAX::Ontology::Info::KindValue(QAX::Ontology::Info::AttrKind::kComplex);
  auto range = std::make_shared<AttrRange>();
  range->anyOf = {{"http://e.org/lib/Thing", complex}, {"http://e.org/other#x y", complex}};
  named->AddAttribute({"odd name", "lib", complex, "Thing"});
  named->AddAttribute({"part", "lib", complex, "Thing"}, {0, 1}, range);
  MetaClass* unnamed =
      model.AddClass(library, {"No IRI", "nolib", "handle", "", "", false, ""}, nullptr);
  const std::string document = DerivedShapesTurtle(model, {named, unnamed});
  EXPECT_NE(
      std::string::npos,
      document.find("\n# lib.odd name: the attribute has no property IRI, so it has no "
                    "shape\nlib:ThingShape\n  a sh:NodeShape ;\n  sh:targetClass lib:Thing ;\n"
                    "  sh:property [\n    sh:path lib:part ;\n"
                    "    sh:name \"part\" ;\n    sh:maxCount 1\n  ] .\n"))
      << document;
  EXPECT_NE(std::string::npos,
            document.find("# lib::No IRI: the class has no IRI, so it has no shape\n"));
  EXPECT_EQ(std::string::npos, qaxoi::test::ParsedStatements(document)[0].find("error"));
}

}  // namespace
}  // namespace qaxoi::test
