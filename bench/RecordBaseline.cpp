// Beside SaveChannel and LoadChannel, and the channel that saves and loads
// itself through them.
#include <cstring>

#include "bench/Baselines.h"
#include "channel_extension/ChannelExtension.h"
#include "channel_extension/LinkTypes.h"

namespace qaxoi::bench {
namespace {

void PutRecord(A3dFileSaver& saver, const char* tag, const void* data, unsigned long size) {
  saver.SaveTag(tag);
  saver.SaveBlockSize(size);
  saver.SaveDataToFile(data, size);
}

void PutU32(A3dFileSaver& saver, const char* tag, unsigned int value) {
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
      static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  PutRecord(saver, tag, bytes, sizeof(bytes));
}

void PutText(A3dFileSaver& saver, const char* tag, const std::string& text) {
  PutRecord(saver, tag, text.c_str(), static_cast<unsigned long>(text.size() + 1));
}

// Reads a record of exactly `size` bytes; false (skipping it) for another size.
bool GetFixed(A3dFileLoader& loader, const char* tag, void* data, unsigned long size) {
  if (!loader.GetInfoIfTag(tag)) return false;
  if (loader.GetSizeDataBlock(false) != size) {
    loader.SkipCurrentTag();
    return false;
  }
  loader.CopyTagDataToPointer(data);
  return true;
}

// Reads a text record into `text`, up to its first zero byte.
void GetText(A3dFileLoader& loader, const char* tag, std::string& text) {
  if (!loader.GetInfoIfTag(tag)) return;
  text.resize(loader.GetSizeDataBlock(false));
  loader.CopyTagDataToPointer(text.empty() ? nullptr : &text[0]);
  text.resize(::strnlen(text.c_str(), text.size()));
}

}  // namespace

bool SaveRecordsBaseline(A3d_Channel& channel, const ItemRecords& records, A3dFileSaver& saver) {
  if (!channel.A3d_Channel::SaveChannel(saver)) return false;
  PutU32(saver, "MODE", records.mode);
  const unsigned char autoName = records.autoName ? 1 : 0;
  PutRecord(saver, "UACN", &autoName, 1);
  if (!records.classHandle.empty()) {
    PutRecord(saver, "CID", records.classHandle.data(),
              static_cast<unsigned long>(records.classHandle.size()));
  }
  PutU32(saver, "CHILDSIZE", static_cast<unsigned int>(records.links.size()));
  for (const auto& link : records.links) {
    PutText(saver, "CHILDNAMETYPE", link.first);
    PutText(saver, "CHILDNAME", link.second);
  }
  return true;
}

bool LoadRecordsBaseline(A3d_Channel& channel, A3dFileLoader& loader, A3d_ChannelGroup* group,
                         ItemRecords& records) {
  if (!channel.A3d_Channel::LoadChannel(loader, group)) return false;
  unsigned char mode[4];
  if (GetFixed(loader, "MODE", mode, sizeof(mode))) {
    records.mode =
        mode[0] | mode[1] << 8 | mode[2] << 16 | static_cast<unsigned int>(mode[3]) << 24;
  }
  unsigned char autoName = 0;
  if (GetFixed(loader, "UACN", &autoName, 1)) records.autoName = autoName != 0;
  GetText(loader, "CID", records.classHandle);

  unsigned char count[4] = {0, 0, 0, 0};
  const std::size_t links =
      GetFixed(loader, "CHILDSIZE", count, sizeof(count))
          ? (count[0] | count[1] << 8 | count[2] << 16 | static_cast<unsigned int>(count[3]) << 24)
          : 0;
  records.links.clear();
  records.links.reserve(links);
  std::string type;
  std::string name;
  for (std::size_t i = 0; i < links; ++i) {
    GetText(loader, "CHILDNAMETYPE", type);
    GetText(loader, "CHILDNAME", name);
    records.links.emplace_back(type, name);
  }

  channel.SetChildCreationCount(0);
  for (std::size_t i = 0; i < records.links.size(); ++i) {
    const auto& link = records.links[i];
    ChildCreation record;
    record.Index = static_cast<std::int32_t>(i);
    if (link.first == kTextLinkTypeName) {
      record.Type.TypeGuid = kTextLinkGuid;
    } else if (link.first == kValueLinkTypeName) {
      record.Type.TypeGuid = kValueLinkGuid;
    } else if (link.first == kOntologyItemLinkTypeName) {
      record.Type.TypeGuid = kOntologyItemLinkGuid;
    }
    CopyFieldText(record.Type.Name, sizeof(record.Type.Name), link.first.c_str());
    CopyFieldText(record.LinkName, sizeof(record.LinkName), link.second.c_str());
    channel.SetChildCreateType(record, static_cast<int>(i));
  }
  return true;
}

const _GUID HandRecordChannel::kTypeGuid = {
    0x5A1E0B3C, 0x7D21, 0x4F0A, {0x9C, 0x33, 0x6E, 0x81, 0x02, 0xB4, 0xD5, 0x17}};

ChannelType HandRecordChannel::Type() {
  ChannelType type;
  std::strncpy(type.Name, "BenchHandRecords", sizeof(type.Name) - 1);
  type.TypeGuid = kTypeGuid;
  type.BaseGuid = Aco_FloatChannel::kTypeGuid;
  return type;
}

HandRecordChannel::HandRecordChannel() { SetChannelType(Type()); }

bool HandRecordChannel::SaveChannel(A3dFileSaver& saver) {
  return SaveRecordsBaseline(*this, records_, saver);
}

bool HandRecordChannel::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
  return LoadRecordsBaseline(*this, loader, group, records_);
}

}  // namespace qaxoi::bench
