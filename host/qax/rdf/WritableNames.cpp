#include "host/qax/rdf/WritableNames.h"

#include "host/qax/rdf/LexicalForms.h"

namespace qaxoi::rdf {

bool IsPrefixName(std::string_view name) {
  if (name.empty() || name.back() == '.') return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
    if (!letter && (i == 0 || !other)) return false;
  }
  return true;
}

bool IsWritableIri(const std::string& iri) {
  const std::size_t colon = iri.find(':');
  if (colon == 0 || colon == std::string::npos) return false;
  for (std::size_t i = 0; i < colon; ++i) {
    const char c = iri[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!letter && (i == 0 || !other)) return false;
  }
  for (std::size_t i = 0; i < iri.size();) {
    const char c = iri[i];
    if (static_cast<unsigned char>(c) <= 0x20) return false;
    for (const char bad : std::string("<>\"{}|^`\\")) {
      if (c == bad) return false;
    }
    const std::size_t length = Utf8Length(iri, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace qaxoi::rdf
