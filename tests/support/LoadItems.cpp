#include "tests/support/LoadItems.h"

namespace qaxoi::test {

namespace {

// Every this many items one is written as a blank node rather than an IRI.
constexpr int kBlankEvery = 10;

}  // namespace

const std::string& LoadVocabulary() {
  static const std::string vocabulary =
      "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
      "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
      "@prefix ex: <http://qax.test/load/ex#> .\n"
      "ex:Person a owl:Class . ex:Place a owl:Class . ex:Region a owl:Class .\n"
      "ex:name a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:string .\n"
      "ex:alive a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:boolean .\n"
      "ex:age a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:integer .\n"
      "ex:height a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:double .\n"
      "ex:score a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:decimal .\n"
      "ex:born a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:dateTime .\n"
      "ex:nick a rdf:Property ; rdfs:domain ex:Person ; rdfs:range xsd:string .\n"
      "ex:home a rdf:Property ; rdfs:domain ex:Person ; rdfs:range ex:Place .\n"
      "ex:label a rdf:Property ; rdfs:domain ex:Place, ex:Region ; rdfs:range xsd:string .\n"
      "ex:within a rdf:Property ; rdfs:domain ex:Place ; rdfs:range ex:Region .\n";
  return vocabulary;
}

LoadGroup MakeLoadGroup(const std::string& subjectBase, int count, int variant) {
  using QAX::Onto::OntologyItem;
  LoadGroup group;
  group.items.reserve(static_cast<std::size_t>(count));
  const std::string tag = std::to_string(variant);
  for (int n = 0; n < count; ++n) {
    const std::string number = std::to_string(n);
    auto person = std::make_unique<OntologyItem>("ex::Person");
    // Non-ASCII letters, quotes, a backslash and line breaks.
    std::string name = "Zo\xC3\xAB \"";
    name.append(tag).append("\" \\ M\xC3\xBCller\nline 2\r\t\xE2\x9C\x93 ").append(number);
    person->SetAttribute("name", name);
    person->SetAttribute("alive", n % 2 == 0 ? "true" : "false");
    person->SetAttribute("age", std::to_string(variant % 1000 + n));
    person->SetAttribute("height", "1.5");
    person->SetAttribute("score", std::to_string(n) + ".25");
    person->SetAttribute("born", "2001-02-03T04:05:06Z");
    person->PutBaseTypeListAttribute("nick", {"\xE5\xB0\x8F" + number, "'" + tag + "'"});
    auto* region = new OntologyItem("ex::Region");
    region->SetAttribute("label", "R\xC3\xA9gion " + tag);
    auto* home = new OntologyItem("ex::Place");
    home->SetAttribute("label",
                       "Stra\xC3\x9F"
                       "e " +
                           number);
    home->SetAttribute("within", region);  // the place owns the region
    person->SetAttribute("home", home);    // and the person the place
    group.items.push_back(std::move(person));
  }
  group.subjects.reserve(group.items.size());
  for (std::size_t n = 0; n < group.items.size(); ++n) {
    group.subjects.push_back(
        {group.items[n].get(), n % kBlankEvery == 0 ? "" : subjectBase + std::to_string(n)});
  }
  return group;
}

}  // namespace qaxoi::test
