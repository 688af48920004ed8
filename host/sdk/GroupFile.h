// Saving and loading whole channel groups (docs/group-files.md).
#ifndef QAX_HOST_SDK_GROUPFILE_H_
#define QAX_HOST_SDK_GROUPFILE_H_

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "host/sdk/GroupFileError.h"
#include "host/sdk/HighPolyExport.h"
#include "host/sdk/LoadedGroup.h"
#include "host/status/Status.h"

class A3d_Channel;
class ChannelTypeRegistry;

// Writes a group named `groupName` (null: a group without a name) holding
// `channels` in that order into `bytes`, replacing its contents. The channels
// are not owned. Each channel is stored with its type GUID, the host's own
// state of built-in value channels, the records its SaveChannel writes and
// the positions of its linked children. Fails with kInvalidArgument, "cannot
// save group 'NAME': REASON", leaving `bytes` unchanged, when a channel is
// null or listed twice, its SaveChannel answers false or writes broken
// records, or a child it links is not among `channels`.
HIGHPOLY_API qaxoi::Status SaveGroup(const char* groupName,
                                     const std::vector<A3d_Channel*>& channels,
                                     std::vector<unsigned char>* bytes);

// SaveGroup into the file at `path`, through ReplaceFileAtomically: an
// existing file is replaced whole or not at all. Errors name the file.
HIGHPOLY_API qaxoi::Status SaveGroupToFile(const std::string& path, const char* groupName,
                                           const std::vector<A3d_Channel*>& channels);

// Loads a group from `size` bytes at `data` (null only when `size` is 0).
// Each channel is made through `registry`, loads its own records from
// exactly its section through LoadChannel(loader, group), gets its host state
// back, and, once all channels exist, is linked to its children; the group
// goes to `group`. On any failure `group` is left as it was, everything made
// so far is destroyed, and the answer is kInvalidInput with the message of
// GroupFileError::Message(), the same failure that `where` (when not null)
// receives field by field: a malformed or truncated file, an unregistered
// type, a channel whose LoadChannel answers false, host state that does not
// fit the channel, a link for a slot that the loaded channel did not
// declare, or channels that together declare more than
// A3d_Channel::kMaxChildLinks links plus one per four bytes of the file.
HIGHPOLY_API qaxoi::Status LoadGroup(const void* data, std::size_t size,
                                     const ChannelTypeRegistry& registry,
                                     std::unique_ptr<LoadedGroup>* group,
                                     GroupFileError* where = nullptr);

// LoadGroup from the file at `path`; errors name the file. A file that
// cannot be read fails as ReadFileBytes does (kIoError, or
// kResourceExhausted for its size), with GroupFileError's message.
HIGHPOLY_API qaxoi::Status LoadGroupFromFile(const std::string& path,
                                             const ChannelTypeRegistry& registry,
                                             std::unique_ptr<LoadedGroup>* group,
                                             GroupFileError* where = nullptr);

#endif  // QAX_HOST_SDK_GROUPFILE_H_
