// Attribute kinds by name in the texts that tests compare.
#ifndef QAX_TESTS_SUPPORT_KINDNAME_H_
#define QAX_TESTS_SUPPORT_KINDNAME_H_

#include <cstdint>
#include <string>
#include <utility>

#include "host/qax/model/AttrKind.h"

namespace qaxoi::test {

// An attribute record's kind field as a test writes it: the name of its
// AttrKind in lower case without the "k" ("text", "complex"), or the
// number of an unknown kind, so that no two kinds read the same.
inline std::string KindName(std::int32_t kind) {
  using QAX::Ontology::Info::AttrKind;
  static constexpr std::pair<AttrKind, const char*> kNames[] = {
      {AttrKind::kText, "text"},         {AttrKind::kBoolean, "boolean"},
      {AttrKind::kInteger, "integer"},   {AttrKind::kReal, "real"},
      {AttrKind::kTemporal, "temporal"}, {AttrKind::kComplex, "complex"},
      {AttrKind::kUnmapped, "unmapped"},
  };
  for (const auto& [named, name] : kNames) {
    if (named == QAX::Ontology::Info::AttrKindOf(kind)) return name;
  }
  return std::to_string(kind);
}

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_KINDNAME_H_
