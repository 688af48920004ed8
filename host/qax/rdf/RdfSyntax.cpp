#include "host/qax/rdf/RdfSyntax.h"

#include <cctype>

namespace QAX {
namespace Ontology {
namespace {

struct NamedSyntax {
  const char* name;
  RdfSyntax syntax;
};

constexpr NamedSyntax kNames[] = {
    {"turtle", RdfSyntax::kTurtle}, {"ntriples", RdfSyntax::kNTriples},
    {"nquads", RdfSyntax::kNQuads}, {"trig", RdfSyntax::kTriG},
    {"rdfxml", RdfSyntax::kRdfXml},
};

constexpr NamedSyntax kExtensions[] = {
    {"ttl", RdfSyntax::kTurtle},
    {"nt", RdfSyntax::kNTriples},
    {"nq", RdfSyntax::kNQuads},
    {"trig", RdfSyntax::kTriG},
};

}  // namespace

RdfSyntax RdfSyntaxFromPath(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return RdfSyntax::kDetect;
  }
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const NamedSyntax& known : kExtensions) {
    if (extension == known.name) return known.syntax;
  }
  return RdfSyntax::kDetect;
}

const char* RdfSyntaxName(RdfSyntax syntax) {
  for (const NamedSyntax& known : kNames) {
    if (known.syntax == syntax) return known.name;
  }
  return "detect";
}

bool ParseRdfSyntaxName(std::string_view name, RdfSyntax* syntax, std::string* error) {
  for (const NamedSyntax& known : kNames) {
    if (name == known.name) {
      *syntax = known.syntax;
      return true;
    }
  }
  if (error != nullptr) {
    *error =
        "unknown syntax '" + std::string(name) + "'; use turtle, ntriples, nquads, trig or rdfxml";
  }
  return false;
}

}  // namespace Ontology
}  // namespace QAX
