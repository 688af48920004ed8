#include "host/sdk/A3d_ChannelGroup.h"

A3d_ChannelGroup::A3d_ChannelGroup(const char* name)
    : name_(name != nullptr ? name : ""), hasName_(name != nullptr) {}

A3d_ChannelGroup::~A3d_ChannelGroup() = default;

const char* A3d_ChannelGroup::GetGroupName() { return hasName_ ? name_.c_str() : nullptr; }
