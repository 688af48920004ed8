// Beside PrepareLinks.
#include <cstring>

#include "bench/Baselines.h"
#include "channel_extension/LinkTypes.h"

namespace qaxoi::bench {
namespace {

using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;

// Writes "<scope>.<name><suffix>" into the link name field, cut to fit.
void WriteLinkName(ChildCreation& record, const std::string& scope, const std::string& name,
                   const char* suffix, std::size_t suffixLength) {
  char* out = record.LinkName;
  std::size_t room = sizeof(record.LinkName) - 1;
  const auto put = [&](const char* text, std::size_t length) {
    const std::size_t n = length < room ? length : room;
    std::memcpy(out, text, n);
    out += n;
    room -= n;
  };
  put(scope.data(), scope.size());
  put(".", 1);
  put(name.data(), name.size());
  put(suffix, suffixLength);
  std::memset(out, 0, room + 1);
}

void AddRecords(const QAX::Ontology::MetaClass* metaClass, std::vector<ChildCreation>& records) {
  if (metaClass == nullptr) return;
  AddRecords(metaClass->GetParent(), records);
  static constexpr char kSuffix[] = " [TODO.TODO]";
  for (const QAX::Ontology::MetaAttr* attribute : metaClass->GetAttributes()) {
    const QAX::Ontology::Info::MetaAttrInfo& info = attribute->GetInfo();
    ChildCreation& record = records.emplace_back();
    const char* typeName = nullptr;
    const AttrKind kind = AttrKindOf(info.kind);
    switch (kind) {
      case AttrKind::kText:
      case AttrKind::kTemporal:
        record.Type.TypeGuid = kTextLinkGuid;
        typeName = kTextLinkTypeName;
        break;
      case AttrKind::kBoolean:
      case AttrKind::kInteger:
      case AttrKind::kReal:
        record.Type.TypeGuid = kValueLinkGuid;
        typeName = kValueLinkTypeName;
        break;
      case AttrKind::kComplex:
        record.Type.TypeGuid = kOntologyItemLinkGuid;
        typeName = kOntologyItemLinkTypeName;
        break;
      default:
        continue;
    }
    std::strncpy(record.Type.Name, typeName, sizeof(record.Type.Name) - 1);
    WriteLinkName(record, info.scopeName, info.name, kSuffix,
                  kind == AttrKind::kComplex ? sizeof(kSuffix) - 1 : 0);
    record.Index = 0;
    record.LinkParam = 1;
  }
}

}  // namespace

void PrepareLinksBaseline(const QAX::Ontology::MetaClass* metaClass, A3d_Channel& channel,
                          std::vector<ChildCreation>& records, LinkDescriptions& descriptions) {
  channel.SetChildCreationCount(0);
  records.clear();
  descriptions.clear();
  AddRecords(metaClass, records);
  descriptions.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    ChildCreation declared = records[i];
    if (declared.Index >= 0) declared.Index = static_cast<std::int32_t>(i);
    channel.SetChildCreateType(declared, static_cast<int>(i));
    descriptions.emplace_back(declared.Type.Name, declared.LinkName);
  }
}

}  // namespace qaxoi::bench
