// Writes the same items as Turtle (DIR/items.ttl) and JSON-LD
// (DIR/items.jsonld), for jsonld_matches_turtle.py to read with an
// independent RDF processor: the items the command-line host cannot make
// (lists, IRI subjects, an IRI named like a prefix, a namespace that ends in
// no delimiter, deep nesting, every literal kind, bad UTF-8).
#include <fstream>
#include <iostream>
#include <string>

#include "host/qax/rdf/Rdf.h"

namespace {

using QAX::Onto::OntologyItem;

constexpr int kNestedLevels = 40;

bool Save(const std::string& path, const qaxoi::Status& status,
          const qaxoi::rdf::WrittenItems& written) {
  if (!status.ok()) {
    std::cerr << path << ": " << status.message() << "\n";
    return false;
  }
  std::ofstream(path, std::ios::binary) << written.text;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: qax_item_document_pairs DIR\n";
    return 2;
  }
  qaxoi::rdf::LoadedModel loaded;
  const qaxoi::Status load = qaxoi::rdf::LoadModelText(
      "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
      "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
      "@prefix ex: <http://e.org/ex#> .\n"
      "@prefix urn: <http://e.org/urn/> .\n"
      "ex:Person a owl:Class . urn:Tag a owl:Class .\n"
      "ex:name a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:string .\n"
      "ex:alive a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:boolean .\n"
      "ex:age a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:integer .\n"
      "ex:size a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:double .\n"
      "ex:born a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:dateTime .\n"
      "ex:friend a rdf:Property ; rdfs:domain ex:Person ; rdfs:range ex:Person .\n"
      "urn:label a rdf:Property ; rdfs:domain urn:Tag ; rdfs:range xsd:string .\n",
      qaxoi::rdf::RdfSyntax::kTurtle, "pairs.ttl", "", &loaded);
  if (!load.ok()) {
    std::cerr << load.message() << "\n";
    return 1;
  }
  OntologyItem ada("ex::Person"), tag("urn::Tag"), deep("ex::Person");
  ada.PutBaseTypeListAttribute("name", {"Ada", "tab\tquote\" backslash\\ line\nbreak \x01\x7F",
                                        "caf\xC3\xA9 \xF0\x9F\x90\xA7", "bad \xFF byte"});
  ada.SetAttribute("alive", "0");
  ada.PutBaseTypeListAttribute("age", {"+7", "-0", "007", "seven"});
  ada.PutBaseTypeListAttribute("size", {"1e+06", "-INF", "NaN", ".5", "1.0", "2"});
  ada.PutBaseTypeListAttribute("born", {"2024-02-29", "2024-01-01T10:00:00.25-14:00", "P1Y"});
  auto* first = new OntologyItem("ex::Person");
  first->SetAttribute("name", "Charles");
  auto* second = new OntologyItem("ex::Person");
  second->SetAttribute("alive", "true");
  ada.PutComplexTypeListAttribute("friend", {first, second});
  tag.SetAttribute("label", "a tag");
  OntologyItem* at = &deep;
  for (int level = 1; level < kNestedLevels; ++level) {
    auto* next = new OntologyItem("ex::Person");
    next->SetAttribute("age", std::to_string(level));
    at->SetAttribute("friend", next);
    at = next;
  }
  // The ex library's namespace without its '#', so that compact IRIs need
  // the prefix flag.
  loaded.model->SetNamespace("ex", "http://e.org/ns");
  const std::vector<qaxoi::rdf::ItemSubject> items = {
      {&ada, ""}, {&ada, "http://e.org/people/ada"}, {&tag, "urn:isbn:0451450523"}, {&deep, ""}};
  const std::string dir = argv[1];
  qaxoi::rdf::WrittenItems turtle;
  qaxoi::rdf::WrittenItems jsonLd;
  const qaxoi::Status turtleStatus =
      qaxoi::rdf::WriteItems(items, *loaded.model, qaxoi::rdf::RdfSyntax::kTurtle, &turtle);
  const qaxoi::Status jsonLdStatus = qaxoi::rdf::WriteItemsJsonLd(items, *loaded.model, &jsonLd);
  return Save(dir + "/items.ttl", turtleStatus, turtle) &&
                 Save(dir + "/items.jsonld", jsonLdStatus, jsonLd)
             ? 0
             : 1;
}
