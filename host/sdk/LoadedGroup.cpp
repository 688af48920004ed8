#include "host/sdk/LoadedGroup.h"

#include <utility>

LoadedGroup::LoadedGroup(std::unique_ptr<A3d_ChannelGroup> group,
                         std::vector<std::unique_ptr<A3d_Channel>> channels)
    : group_(std::move(group)), channels_(std::move(channels)) {}

LoadedGroup::~LoadedGroup() {
  // Channels point at the group and at each other: all go before the group.
  while (!channels_.empty()) channels_.pop_back();
}

A3d_Channel* LoadedGroup::Channel(std::size_t index) const {
  return index < channels_.size() ? channels_[index].get() : nullptr;
}

std::vector<A3d_Channel*> LoadedGroup::Channels() const {
  std::vector<A3d_Channel*> list;
  list.reserve(channels_.size());
  for (const std::unique_ptr<A3d_Channel>& channel : channels_) list.push_back(channel.get());
  return list;
}
