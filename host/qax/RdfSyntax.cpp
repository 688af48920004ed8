#include "host/qax/RdfSyntax.h"

#include <cctype>

namespace QAX {
namespace Ontology {

RdfSyntax RdfSyntaxFromPath(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return RdfSyntax::kFromExtension;
  }
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == "ttl") return RdfSyntax::kTurtle;
  if (extension == "nt") return RdfSyntax::kNTriples;
  if (extension == "nq") return RdfSyntax::kNQuads;
  return RdfSyntax::kFromExtension;
}

}  // namespace Ontology
}  // namespace QAX
