// Saving and loading an ontology item channel, its dependencies and its
// automatic name.
#include <algorithm>
#include <cstring>

#include "channel_extension/ChannelExtension.h"
#include "channel_extension/LinkRecord.h"
#include "channel_extension/LinkTypes.h"
#include "module/Diagnostics.h"
#include "module/TypeGuid.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/WalkLinks.h"

namespace {

constexpr const char* kClassHandleTag = "CID";
constexpr const char* kChildSizeTag = "CHILDSIZE";
constexpr const char* kChildNameTypeTag = "CHILDNAMETYPE";
constexpr const char* kChildNameTag = "CHILDNAME";
// Behind the link pairs: each link's attribute IRI and a zero byte, in link
// order. Readers of the records before it stop at the last "CHILDNAME".
constexpr const char* kChildIrisTag = "CHILDIRIS";

// A class handle longer than this is cut to it when loaded.
constexpr std::size_t kMaxClassHandleLength = 255;

// The longest type name and link name a declared link record holds.
constexpr std::size_t kMaxTypeNameLength = sizeof(ChannelType::Name) - 1;
constexpr std::size_t kMaxLinkNameLength = sizeof(ChildCreation::LinkName) - 1;

// Reads the text record `tag` at the read position into `text`: the block's
// bytes up to its first zero byte, or all of them when it has none. The text
// is kept whole, however long, so that a save after a load writes back what
// was read; only the declared link records cut it to their fields. Answers
// false and leaves `text` unchanged when the next record carries another tag.
// With `wholeBlock`, `text` is the whole block, zero bytes and all.
bool ReadTextRecord(A3dFileLoader& loader, const char* tag, std::string& text,
                    bool wholeBlock = false) {
  if (!loader.GetInfoIfTag(tag)) return false;
  // The loader only reports blocks that are wholly present in its bytes, so
  // the block is bounded by the file. Read straight into `text`, whose
  // storage the next record reuses, then cut it at its first zero byte.
  text.resize(loader.GetSizeDataBlock(false));
  loader.CopyTagDataToPointer(text.empty() ? nullptr : &text[0]);
  if (!wholeBlock) {
    text.resize(static_cast<std::size_t>(std::find(text.begin(), text.end(), '\0') - text.begin()));
  }
  return true;
}

// The text a link takes when its record is missing: the previous link's,
// cut to what a declared link record holds. Repeating a long text whole for
// each of up to kMaxChildLinks missing records would let a small file cost
// gigabytes; the texts of records present are bounded by the file itself.
std::string RepeatedText(const std::string& previous, std::size_t maxLength) {
  return previous.size() <= maxLength ? previous : previous.substr(0, maxLength);
}

// Reads the "CHILDIRIS" record at the read position, when there is one, into
// `iris`: one text per zero-terminated piece of its block. A block that does
// not hold exactly `count` pieces says nothing reliable and gives none.
void ReadIrisRecord(A3dFileLoader& loader, std::size_t count, std::vector<std::string>& iris) {
  iris.clear();
  std::string block;
  if (!ReadTextRecord(loader, kChildIrisTag, block, /*wholeBlock=*/true)) return;
  if (block.empty() || block.back() != '\0') return;
  std::size_t pieces = 0;
  for (const char c : block) pieces += c == '\0' ? 1 : 0;
  if (pieces != count) return;
  iris.reserve(count);
  std::size_t start = 0;
  while (start < block.size()) {
    const std::size_t end = block.find('\0', start);
    iris.emplace_back(block, start, end - start);
    start = end + 1;
  }
}

}  // namespace

bool Aco_QAXOntologyItem::SaveChannel(A3dFileSaver& saver) {
  if (!MultiModeChannel::SaveChannel(saver)) return false;
  if (!_classHandle.empty()) {
    saver.SaveTag(kClassHandleTag);
    saver.SaveBlockSize(static_cast<unsigned long>(_classHandle.size()));
    saver.SaveDataToFile(_classHandle.data(), static_cast<unsigned long>(_classHandle.size()));
  }
  SaveChannelValue(saver, kChildSizeTag, static_cast<unsigned int>(_linkDescriptions.size()));
  for (const LinkDescription& link : _linkDescriptions) {
    SaveChannelText(saver, kChildNameTypeTag, link.first);
    SaveChannelText(saver, kChildNameTag, link.second);
  }
  const std::vector<std::string>& iris = _identity.iris;
  if (iris.size() == _linkDescriptions.size() &&
      std::any_of(iris.begin(), iris.end(), [](const std::string& iri) { return !iri.empty(); })) {
    std::size_t size = 0;
    for (const std::string& iri : iris) size += iri.size() + 1;
    if (saver.SaveTag(kChildIrisTag)) {
      saver.SaveBlockSize(static_cast<unsigned long>(size));
      for (const std::string& iri : iris) {
        saver.SaveDataToFile(iri.c_str(), static_cast<unsigned long>(iri.size() + 1));
      }
    }
  }
  return true;
}

bool Aco_QAXOntologyItem::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
  if (!MultiModeChannel::LoadChannel(loader, group)) return false;

  const bool savedForClass = loader.GetInfoIfTag(kClassHandleTag);
  if (savedForClass) {
    // Zero-filled, one byte longer than the longest handle kept.
    char handle[kMaxClassHandleLength + 1] = {};
    const unsigned long size = loader.GetSizeDataBlock(false);
    if (size <= kMaxClassHandleLength) {
      loader.CopyTagDataToPointer(handle);
    } else {
      std::string block(size, '\0');
      loader.CopyTagDataToPointer(&block[0]);
      std::memcpy(handle, block.data(), kMaxClassHandleLength);
    }
    _classHandle.assign(handle, ::strnlen(handle, kMaxClassHandleLength));
  }

  _linkDescriptions.clear();
  AllLinksOrNone([&] {
    unsigned int count = 0;
    if (ReadChannelValue(loader, kChildSizeTag, count) && count > 0) {
      if (count > static_cast<unsigned int>(kMaxChildLinks)) {
        // More links than a channel can hold: the count is unusable.
        ReportError("Aco_QAXOntologyItem::LoadChannel", "ChildSizeTooLarge.Count[%u]", count);
        count = 0;
      }
      std::string typeName;
      std::string linkName;
      _linkDescriptions.reserve(count);
      for (unsigned int i = 0; i < count; ++i) {
        const bool typePresent = ReadTextRecord(loader, kChildNameTypeTag, typeName);
        const bool namePresent = ReadTextRecord(loader, kChildNameTag, linkName);
        _linkDescriptions.emplace_back(
            typePresent ? typeName : RepeatedText(typeName, kMaxTypeNameLength),
            namePresent ? linkName : RepeatedText(linkName, kMaxLinkNameLength));
      }
    }
    std::vector<std::string> iris;
    ReadIrisRecord(loader, _linkDescriptions.size(), iris);
    // Links saved without a class were saved for none: they stay as they are.
    BindLoadedLinks(savedForClass ? std::move(iris) : std::vector<std::string>(), savedForClass);
    DeclareLinksFromDescriptions();
  });
  return true;
}

void Aco_QAXOntologyItem::DeclareLinksFromDescriptions() {
  SetChildCreationCount(0);
  for (std::size_t i = 0; i < _linkDescriptions.size(); ++i) {
    const LinkDescription& link = _linkDescriptions[i];
    // A type name of another kind keeps the default record's type.
    _GUID guid = kAnyTypeLinkGuid;
    qaxoi::module::LinkGuidForTypeName(link.first, &guid);
    SetChildCreateType(MakeLinkRecord(guid, link.first.c_str(), link.second.c_str(),
                                      static_cast<std::int32_t>(i), kDefaultLinkParam),
                       static_cast<int>(i));
  }
}

void Aco_QAXOntologyItem::DoDependencyInit(A3d_List* list) {
  for (const _GUID& guid : {kQAXOntologyItemTypeGuid, kValueLinkGuid}) {
    AddChannelGuidDepend(guid, list);
    AddDLLDepend("CoreQAX.dll", list);
    AddDLLDepend("QAX.dll", list);
    Core::CoreEngine::DoDependencyInit(this, list);
  }
}

void Aco_QAXOntologyItem::SetAutoChannelName() {
  const std::string name =
      "OItem:" + (_classHandle.empty() ? std::string("unknown") : _classHandle);
  SetChannelName(name.c_str());
}
