// The dump command: a group file as its structure and records, for when a
// file misbehaves.
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "host/files/InputFile.h"
#include "host/sdk/A3dFileLoader.h"
#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/GroupFileError.h"
#include "host/sdk/GroupFileReader.h"
#include "host/sdk/LoadedGroup.h"
#include "module/Module.h"
#include "ontology_item/NumberText.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/Rebinding.h"
#include "tools/qax-host/Verbosity.h"

namespace qaxoi::qax_host {

namespace {

// Room for a record line's columns before its value: the offset, the tag
// (at most 63 bytes, each escaped as four characters at most) and the size.
constexpr std::size_t kRecordColumnsSize = 320;

// Data blocks longer than this are shown cut, in hex.
constexpr std::size_t kMaxShownBytes = 48;

std::string Hex(const std::string& data) {
  std::string text;
  char byte[4];
  for (std::size_t i = 0; i < data.size() && i < kMaxShownBytes; ++i) {
    std::snprintf(byte, sizeof(byte), i == 0 ? "%02x" : " %02x",
                  static_cast<unsigned char>(data[i]));
    text += byte;
  }
  if (data.size() > kMaxShownBytes) text += " ...";
  return text;
}

std::uint32_t U32(const std::string& data) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(data[i]);
  return value;
}

// The text of a block up to its first zero byte, and a note when the block
// has no zero byte or bytes behind it.
std::string TextOf(const std::string& data, bool terminated) {
  const std::size_t zero = data.find('\0');
  std::string shown = Quoted(data.substr(0, zero));
  if (terminated && zero == std::string::npos) shown += " (no terminating zero)";
  if (zero != std::string::npos && zero + 1 < data.size()) shown += " (bytes after the zero)";
  return shown;
}

// The zero-terminated texts of a block, quoted, separated by blanks: the
// first kMaxShownTexts of them and a count of the rest.
std::string TextsOf(const std::string& data) {
  constexpr std::size_t kMaxShownTexts = 4;
  std::string shown;
  std::size_t count = 0;
  for (std::size_t start = 0; start < data.size(); ++count) {
    const std::size_t end = data.find('\0', start);
    if (count < kMaxShownTexts)
      shown += (count == 0 ? "" : " ") + Quoted(data.substr(start, end - start));
    start = end + 1;
  }
  if (count > kMaxShownTexts) shown += " ... (" + std::to_string(count) + " in all)";
  return shown;
}

// What a record of a known tag holds, decoded; hex for other tags and for
// known tags whose block has an unexpected size.
std::string Decoded(const std::string& tag, const std::string& data) {
  if ((tag == "MODE" || tag == "CHILDSIZE") && data.size() == 4) {
    const std::uint32_t value = U32(data);
    return std::to_string(value) + (tag == "MODE" && value == 0xFFFFFFFFu ? " (no mode)" : "");
  }
  if (tag == "UACN" && data.size() == 1) return data[0] != 0 ? "true" : "false";
  if (tag == "CID") return TextOf(data, false);
  if (tag == "CHNAME") return data.empty() ? "(no name)" : TextOf(data, true);
  if (tag == "CHILDNAMETYPE" || tag == "CHILDNAME") return TextOf(data, true);
  if (tag == "CHILDIRIS" && !data.empty() && data.back() == '\0') return TextsOf(data);
  return Hex(data);
}

std::string TypeName(const ChannelTypeRegistry& registry, const _GUID& guid) {
  if (guid == kQAXOntologyItemTypeGuid) return kQAXOntologyItemTypeName;
  const ChannelType* type = registry.FindType(guid);
  return type != nullptr ? type->Name : "unknown type";
}

std::string HostStateText(const GroupFileHostState& state) {
  switch (state.kind) {
    case HostStateKind::kNone:
      return "none";
    case HostStateKind::kFloat:
      return "float " + RealText(state.value);
    case HostStateKind::kText:
      return std::string("text ") + (state.hasText ? Quoted(state.text) : "null") +
             (state.hasWideText ? ", wide text" : ", no wide text");
    case HostStateKind::kVector:
      return "vector";
    case HostStateKind::kMatrix:
      return "matrix";
  }
  return "unknown";
}

// One record of a channel's section.
struct RecordView {
  std::size_t offset;  // in the file
  std::string tag;
  unsigned long size;
  std::string data;
};

std::vector<RecordView> RecordsOf(const GroupFileChannel& channel) {
  std::vector<RecordView> records;
  A3dFileLoader loader(channel.records, channel.recordsSize);
  std::string tag;
  unsigned long size = 0;
  while (loader.PeekRecord(&tag, &size)) {
    RecordView record{channel.recordsOffset + loader.Position(), tag, size,
                      std::string(size, '\0')};
    loader.GetInfoIfTag(tag.c_str());
    loader.CopyTagDataToPointer(record.data.empty() ? nullptr : &record.data[0]);
    records.push_back(std::move(record));
  }
  return records;
}

void PrintChannel(const ChannelTypeRegistry& registry, const GroupFileChannel& channel) {
  std::printf("channel #%d at byte %zu: %s %s\n", channel.index, channel.offset,
              TypeName(registry, channel.typeGuid).c_str(), GuidToString(channel.typeGuid).c_str());
  if (!channel.checksumMatches) {
    std::printf("  DAMAGED: the channel's checksum does not match; what follows may be wrong\n");
  }
  std::printf("  host state: %s\n", HostStateText(channel.hostState).c_str());
  std::printf("  records: %s at byte %zu\n", Counted(channel.recordsSize, "byte", "bytes").c_str(),
              channel.recordsOffset);
  for (const RecordView& record : RecordsOf(channel)) {
    char columns[kRecordColumnsSize];
    std::snprintf(columns, sizeof(columns), "    %6zu  %-14s %5lu  ", record.offset,
                  Escaped(record.tag).c_str(), record.size);
    PrintLine(columns + Decoded(record.tag, record.data));
  }
  std::printf("  links:");
  if (channel.links.empty()) std::printf(" none");
  for (const std::int32_t link : channel.links) std::printf(link < 0 ? " -" : " #%d", link);
  std::printf("\n");
}

Json ChannelJson(const ChannelTypeRegistry& registry, const GroupFileChannel& channel) {
  Json records = Json::array();
  for (const RecordView& record : RecordsOf(channel)) {
    records.push_back({{"offset", record.offset},
                       {"tag", record.tag},
                       {"size", record.size},
                       {"value", Decoded(record.tag, record.data)}});
  }
  Json links = Json::array();
  for (const std::int32_t link : channel.links) links.push_back(link < 0 ? Json() : Json(link));
  return {{"index", channel.index},
          {"offset", channel.offset},
          {"type", TypeName(registry, channel.typeGuid)},
          {"typeGuid", GuidToString(channel.typeGuid)},
          {"hostState", HostStateText(channel.hostState)},
          {"recordsOffset", channel.recordsOffset},
          {"recordsSize", channel.recordsSize},
          {"records", std::move(records)},
          {"links", std::move(links)},
          {"damaged", !channel.checksumMatches}};
}

// The message for a part of the file whose checksum does not match.
std::string DamageMessage(const std::string& file, const ChannelTypeRegistry& registry,
                          const GroupFileChannel* channel) {
  GroupFileError error;
  error.file = file;
  if (channel == nullptr) {
    error.offset = 0;
    error.reason = "the header's checksum does not match (the file is damaged)";
    return error.Message();
  }
  error.offset = channel->offset;
  error.channel = channel->index;
  error.hasType = true;
  error.typeGuid = channel->typeGuid;
  error.typeName = TypeName(registry, channel->typeGuid);
  error.reason = "the channel's checksum does not match (the file is damaged)";
  return error.Message();
}

}  // namespace

int RunDump(const Invocation& invocation) {
  if (invocation.arguments.size() != 1) {
    return UsageError(OneArgumentMessage("dump", "FILE", invocation.arguments));
  }
  const std::string name = InputName(invocation.arguments[0]);
  const Activity reading("reading the group file '" + Escaped(name) + "'");
  std::vector<unsigned char> bytes;
  const qaxoi::Status read = qaxoi::files::ReadInputFile(invocation.arguments[0], &bytes);
  if (!read.ok()) return Fail(read);

  ChannelTypeRegistry registry;
  registry.RegisterBuiltIns();
  // A damaged part is shown, marked, and the dump goes on as far as the
  // file's structure allows: the user sees what is left.
  GroupFileReader reader(bytes.data(), bytes.size(), GroupFileReader::Damage::kTolerate);
  GroupFileError error;
  GroupFileHeader header;
  Json json = {{"file", name}, {"bytes", bytes.size()}};
  Json channels = Json::array();
  std::vector<std::string> damage;
  const auto finish = [&](const std::string* failure) {
    if (invocation.json) {
      if (!channels.empty() || failure == nullptr) json["channels"] = std::move(channels);
      if (!damage.empty()) json["damage"] = damage;
      if (failure != nullptr) json["error"] = *failure;
      PrintJson(json);
    }
    std::fflush(stdout);
    for (const std::string& message : damage) Fail(message);
    if (failure != nullptr) return Fail(*failure);
    return damage.empty() ? kExitOk : kExitFailure;
  };
  // Everything read so far is shown before the error that ends the dump.
  const auto failed = [&]() {
    error.file = name;
    if (error.hasType) error.typeName = TypeName(registry, error.typeGuid);
    const std::string message = error.Message();
    return finish(&message);
  };
  if (!reader.ReadHeader(&header, &error)) return failed();
  if (!header.checksumMatches) damage.push_back(DamageMessage(name, registry, nullptr));
  if (invocation.json) {
    json["version"] = header.version;
    json["group"] = header.hasGroupName ? Json(header.groupName) : Json();
    json["channelCount"] = header.channelCount;
  } else {
    std::printf("group file %s: %s, format version %u, group %s, %s\n", Escaped(name).c_str(),
                Counted(bytes.size(), "byte", "bytes").c_str(), header.version,
                header.hasGroupName ? Quoted(header.groupName).c_str() : "(no name)",
                Counted(header.channelCount, "channel", "channels").c_str());
    if (!header.checksumMatches) {
      std::printf("DAMAGED: the header's checksum does not match; its fields may be wrong\n");
    }
  }
  for (std::uint32_t i = 0; i < header.channelCount; ++i) {
    GroupFileChannel channel;
    if (!reader.ReadChannel(&channel, &error)) return failed();
    if (!channel.checksumMatches) damage.push_back(DamageMessage(name, registry, &channel));
    if (invocation.json) {
      channels.push_back(ChannelJson(registry, channel));
    } else {
      PrintChannel(registry, channel);
    }
  }
  if (!reader.ReadEnd(&error)) return failed();
  const int result = finish(nullptr);
  // With a vocabulary named, an intact file is also loaded through the
  // module, to say whether it was saved against another one.
  if (result == kExitOk && !invocation.session.ontologyPath.empty()) {
    std::unique_ptr<Session> session = OpenSession(invocation);
    if (!session) return kExitFailure;
    std::unique_ptr<LoadedGroup> group;
    if (LoadGroup(bytes.data(), bytes.size(), session->registry(), &group).ok()) {
      const std::string summary = BindingSummary(name, CountBindings(group->Channels()));
      if (!summary.empty()) Note(Escaped(summary));
    }
  }
  return result;
}

}  // namespace qaxoi::qax_host
