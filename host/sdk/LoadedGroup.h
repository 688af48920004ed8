// A channel group loaded from a file, owning its channels.
#ifndef QAX_HOST_SDK_LOADEDGROUP_H_
#define QAX_HOST_SDK_LOADEDGROUP_H_

#include <cstddef>
#include <memory>
#include <vector>

#include "host/sdk/A3d_Channel.h"
#include "host/sdk/A3d_ChannelGroup.h"
#include "host/sdk/HighPolyExport.h"

// Owns a group and its channels, in file order, with their children linked.
// Destruction destroys the channels, last first, then the group. Channels
// made by a channel module must be destroyed before that module is closed,
// so a LoadedGroup must not outlive the modules its channels came from.
class HIGHPOLY_API LoadedGroup {
 public:
  // Takes `group` and `channels`; none of them may be null.
  LoadedGroup(std::unique_ptr<A3d_ChannelGroup> group,
              std::vector<std::unique_ptr<A3d_Channel>> channels);
  ~LoadedGroup();

  LoadedGroup(const LoadedGroup&) = delete;
  LoadedGroup& operator=(const LoadedGroup&) = delete;

  // The group, owned by this object.
  A3d_ChannelGroup* Group() const { return group_.get(); }

  std::size_t ChannelCount() const { return channels_.size(); }
  // The channel at `index`, owned by this object; null when out of range.
  A3d_Channel* Channel(std::size_t index) const;
  // All channels in file order, not owned: what SaveGroup takes.
  std::vector<A3d_Channel*> Channels() const;

 private:
  std::unique_ptr<A3d_ChannelGroup> group_;
  std::vector<std::unique_ptr<A3d_Channel>> channels_;
};

#endif  // QAX_HOST_SDK_LOADEDGROUP_H_
