#include "bench/VocabularyShapes.h"

#include <cstring>

namespace qaxoi::bench {
namespace {

constexpr const char* kPrefixes =
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
    "@prefix e: <http://e.org/> .\n";
// Classes that properties point at, so that domains, ranges and unions name
// classes of the model.
constexpr std::size_t kTargetClasses = 1000;
// The length of each comment of the long-literal shape.
constexpr std::size_t kCommentLength = 100000;

std::string Number(std::size_t n) { return std::to_string(n); }

}  // namespace

const std::vector<VocabularyShape>& VocabularyShapes() {
  static const std::vector<VocabularyShape> shapes = {
      {"classes-nt", ".nt"},      {"classes-iri", ".ttl"}, {"classes-prefixed", ".ttl"},
      {"subclass-chain", ".ttl"}, {"properties", ".ttl"},  {"long-comments", ".ttl"},
      {"prefixes", ".ttl"},       {"unions", ".ttl"},      {"subclass-loops", ".nt"},
  };
  return shapes;
}

std::string MakeVocabulary(const VocabularyShape& shape, std::size_t bytes) {
  const std::string name = shape.name;
  std::string text;
  text.reserve(bytes + kCommentLength);
  const auto targets = [&text] {
    for (std::size_t c = 0; c < kTargetClasses; ++c) text += "e:K" + Number(c) + " a owl:Class .\n";
  };
  if (name != "classes-nt" && name != "classes-iri" && name != "prefixes" &&
      name != "subclass-loops") {
    text += kPrefixes;
  }
  if (name == "properties" || name == "unions") targets();
  if (name == "subclass-chain") text += "e:C0 a owl:Class .\n";
  const std::string comment(kCommentLength, 'x');
  for (std::size_t i = 1; text.size() < bytes; ++i) {
    const std::string n = Number(i);
    if (name == "classes-nt") {
      text += "<http://e.org/C" + n +
              "> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
              "<http://www.w3.org/2002/07/owl#Class> .\n";
    } else if (name == "classes-iri") {
      text += "<http://e.org/C" + n + "> a <http://www.w3.org/2002/07/owl#Class> .\n";
    } else if (name == "classes-prefixed") {
      text += "e:C" + n + " a owl:Class .\n";
    } else if (name == "subclass-loops") {
      // Two classes that name each other as parents, in N-Triples.
      const std::string a = "<http://e.org/A" + n + ">";
      const std::string b = "<http://e.org/B" + n + ">";
      const std::string type =
          " <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> "
          "<http://www.w3.org/2002/07/owl#Class> .\n";
      const std::string sub = " <http://www.w3.org/2000/01/rdf-schema#subClassOf> ";
      text += a + type + b + type + a + sub + b + " .\n" + b + sub + a + " .\n";
    } else if (name == "subclass-chain") {
      text += "e:C" + n + " a owl:Class ; rdfs:subClassOf e:C" + Number(i - 1) + " .\n";
    } else if (name == "properties") {
      text += "e:p" + n + " a owl:DatatypeProperty ; rdfs:domain e:K" + Number(i % kTargetClasses) +
              " ; rdfs:range e:K" + Number(i * 7 % kTargetClasses) + " .\n";
    } else if (name == "long-comments") {
      text += "e:C" + n + " a owl:Class ; rdfs:comment \"" + comment + "\" .\n";
    } else if (name == "prefixes") {
      text += "@prefix p" + n + ": <http://e.org/ns" + n + "/> .\np" + n +
              ":C a <http://www.w3.org/2002/07/owl#Class> .\n";
    } else {  // unions
      text += "e:p" + n + " a owl:ObjectProperty ; rdfs:domain [ owl:unionOf ( e:K" +
              Number(i % kTargetClasses) + " e:K" + Number((i + 1) % kTargetClasses) + " e:K" +
              Number((i + 2) % kTargetClasses) + " ) ] .\n";
    }
  }
  return text;
}

}  // namespace qaxoi::bench
