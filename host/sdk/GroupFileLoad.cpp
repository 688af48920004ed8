// Reading channel groups: LoadGroup and LoadGroupFromFile.
#include <cstdint>
#include <cstring>
#include <utility>

#include "host/sdk/A3dFileLoader.h"
#include "host/sdk/A3d_Channel.h"
#include "host/sdk/A3d_ChannelGroup.h"
#include "host/sdk/ChannelHostState.h"
#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/CountText.h"
#include "host/sdk/FileBytes.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/GroupFileReader.h"

namespace {

// The bytes one entry of a channel's link table takes.
constexpr std::size_t kLinkEntrySize = 4;

// A child link to make once every channel exists.
struct PendingLink {
  A3d_Channel* parent;
  int slot;
  std::int32_t child;
};

GroupFileError ChannelError(const GroupFileChannel& entry, std::size_t offset, std::string reason) {
  GroupFileError error;
  error.offset = offset;
  error.channel = entry.index;
  error.hasType = true;
  error.typeGuid = entry.typeGuid;
  error.reason = std::move(reason);
  return error;
}

// Hands `error` to the caller, naming the type when the registry knows it.
// Answers null for the caller to return.
std::unique_ptr<LoadedGroup> Fail(const ChannelTypeRegistry& registry, GroupFileError error,
                                  GroupFileError* out) {
  if (error.hasType) {
    if (const ChannelType* type = registry.FindType(error.typeGuid)) {
      error.typeName.assign(type->Name, ::strnlen(type->Name, sizeof(type->Name)));
    }
  }
  if (out != nullptr) *out = std::move(error);
  return nullptr;
}

// Why a channel's LoadChannel failed, with the record it stopped at.
std::string LoadFailure(const A3dFileLoader& loader) {
  std::string reason = "the channel could not load its records (LoadChannel answered false)";
  std::string tag;
  unsigned long size = 0;
  if (loader.PeekRecord(&tag, &size)) {
    reason += "; it stopped at record \"" + tag + "\" of " + CountOf(size, "byte", "bytes");
  } else if (loader.AtEnd()) {
    reason += "; it read all of them";
  }
  return reason;
}

// LoadGroup's work: the group, or null with `error` set.
std::unique_ptr<LoadedGroup> Load(const void* data, std::size_t size,
                                  const ChannelTypeRegistry& registry, GroupFileError* error) {
  GroupFileReader reader(data, size);
  GroupFileHeader header;
  GroupFileError failure;
  if (!reader.ReadHeader(&header, &failure)) return Fail(registry, std::move(failure), error);

  // Declared in this order so that on every way out the channels (which point
  // at the group) are destroyed first.
  auto group =
      std::make_unique<A3d_ChannelGroup>(header.hasGroupName ? header.groupName.c_str() : nullptr);
  std::vector<std::unique_ptr<A3d_Channel>> channels;
  channels.reserve(header.channelCount);  // the reader checked it against the bytes
  std::vector<PendingLink> links;
  // What the channels may declare together: what the file's link tables could
  // hold (every file SaveGroup writes stays within it), and one channel's
  // worth more. A channel may declare links its records only count, so
  // without this bound a file would make each of its channels cost up to the
  // link limit however few bytes it takes.
  const std::size_t linkBudget =
      static_cast<std::size_t>(A3d_Channel::kMaxChildLinks) + size / kLinkEntrySize;
  std::size_t linksDeclared = 0;

  GroupFileChannel entry;
  for (std::uint32_t i = 0; i < header.channelCount; ++i) {
    if (!reader.ReadChannel(&entry, &failure)) return Fail(registry, std::move(failure), error);

    std::unique_ptr<A3d_Channel> channel = registry.NewChannel(entry.typeGuid);
    if (!channel) {
      const char* reason = registry.FindType(entry.typeGuid) == nullptr
                               ? "unknown channel type: neither the host nor a loaded module "
                                 "provides it"
                               : "the channel type's module made no channel";
      return Fail(registry, ChannelError(entry, entry.offset, reason), error);
    }

    // The channel sees exactly its own section, so that whatever it leaves
    // unread cannot reach the next channel.
    A3dFileLoader loader(entry.records, entry.recordsSize);
    if (!channel->LoadChannel(loader, group.get())) {
      return Fail(registry,
                  ChannelError(entry, entry.recordsOffset + loader.Position(), LoadFailure(loader)),
                  error);
    }
    if (!RestoreHostState(*channel, entry.hostState)) {
      return Fail(registry,
                  ChannelError(entry, entry.hostStateOffset,
                               std::string("the file holds host state of kind ") +
                                   HostStateKindName(entry.hostState.kind) +
                                   ", but a channel of this type holds " +
                                   HostStateKindName(HostStateKindOf(*channel))),
                  error);
    }

    const std::size_t declared = static_cast<std::size_t>(channel->GetChildCount());
    linksDeclared += declared;
    if (linksDeclared > linkBudget) {
      return Fail(
          registry,
          ChannelError(entry, entry.recordsOffset,
                       "the channels declare " + CountOf(linksDeclared, "link", "links") +
                           " so far, more than a file of " + CountOf(size, "byte", "bytes") +
                           " can justify (" + std::to_string(linkBudget) + ")"),
          error);
    }
    if (entry.links.size() > declared) {
      return Fail(registry,
                  ChannelError(entry, entry.linksOffset + 4 + 4 * declared,
                               "link " + std::to_string(declared) +
                                   " is for a slot the channel did not declare (it declares " +
                                   CountOf(declared, "link", "links") + ")"),
                  error);
    }
    for (std::size_t slot = 0; slot < entry.links.size(); ++slot) {
      if (entry.links[slot] >= 0) {
        links.push_back(PendingLink{channel.get(), static_cast<int>(slot), entry.links[slot]});
      }
    }
    channels.push_back(std::move(channel));
  }
  if (!reader.ReadEnd(&failure)) return Fail(registry, std::move(failure), error);

  for (const PendingLink& link : links) {
    link.parent->LinkChild(link.slot, channels[static_cast<std::size_t>(link.child)].get());
  }
  return std::make_unique<LoadedGroup>(std::move(group), std::move(channels));
}

// A failure as the caller receives it: a status of `code` with
// GroupFileError's message, and `failure` field by field in `where` when
// asked for.
qaxoi::Status Refuse(qaxoi::Status::Code code, GroupFileError failure, GroupFileError* where) {
  qaxoi::Status status = qaxoi::Status::WithCode(code, failure.Message());
  if (where != nullptr) *where = std::move(failure);
  return status;
}

}  // namespace

qaxoi::Status LoadGroup(const void* data, std::size_t size, const ChannelTypeRegistry& registry,
                        std::unique_ptr<LoadedGroup>* group, GroupFileError* where) {
  GroupFileError failure;
  std::unique_ptr<LoadedGroup> loaded = Load(data, size, registry, &failure);
  if (!loaded) {
    return Refuse(qaxoi::Status::Code::kInvalidInput, std::move(failure), where);
  }
  *group = std::move(loaded);
  return qaxoi::Status::Ok();
}

qaxoi::Status LoadGroupFromFile(const std::string& path, const ChannelTypeRegistry& registry,
                                std::unique_ptr<LoadedGroup>* group, GroupFileError* where) {
  GroupFileError failure;
  std::vector<unsigned char> bytes;
  const qaxoi::Status read = ReadFileBytes(path, &bytes);
  std::unique_ptr<LoadedGroup> loaded;
  if (read.ok()) loaded = Load(bytes.data(), bytes.size(), registry, &failure);
  if (loaded) {
    *group = std::move(loaded);
    return qaxoi::Status::Ok();
  }
  failure.file = path;
  if (!read.ok()) {
    failure.reason = read.message();
    return Refuse(read.code(), std::move(failure), where);
  }
  return Refuse(qaxoi::Status::Code::kInvalidInput, std::move(failure), where);
}
