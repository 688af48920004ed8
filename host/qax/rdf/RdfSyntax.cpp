#include "host/qax/rdf/RdfSyntax.h"

#include <cctype>

namespace qaxoi::rdf {

RdfSyntax RdfSyntaxFromPath(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return RdfSyntax::kDetect;
  }
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const RdfSyntaxInfo& known : kRdfSyntaxes) {
    if (known.extension != nullptr && extension == known.extension) return known.syntax;
  }
  return RdfSyntax::kDetect;
}

const char* RdfSyntaxName(RdfSyntax syntax) {
  for (const RdfSyntaxInfo& known : kRdfSyntaxes) {
    if (known.syntax == syntax) return known.name;
  }
  return "detect";
}

qaxoi::Status ParseRdfSyntaxName(std::string_view name, RdfSyntax* syntax) {
  for (const RdfSyntaxInfo& known : kRdfSyntaxes) {
    if (name == known.name) {
      *syntax = known.syntax;
      return qaxoi::Status::Ok();
    }
  }
  return qaxoi::Status::InvalidArgument("unknown syntax '" + std::string(name) + "'; use " +
                                        ListRdfSyntaxes(&RdfSyntaxInfo::name, "or"));
}

}  // namespace qaxoi::rdf
