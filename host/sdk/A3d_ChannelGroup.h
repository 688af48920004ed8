// The host's channel group: the named set of channels saved in one file.
#ifndef QAX_HOST_SDK_A3D_CHANNELGROUP_H_
#define QAX_HOST_SDK_A3D_CHANNELGROUP_H_

#include <string>

#include "host/sdk/HighPolyExport.h"

class HIGHPOLY_API A3d_ChannelGroup {
 public:
  // Copies `name`; a null name makes GetGroupName() answer null.
  explicit A3d_ChannelGroup(const char* name);
  virtual ~A3d_ChannelGroup();

  A3d_ChannelGroup(const A3d_ChannelGroup&) = delete;
  A3d_ChannelGroup& operator=(const A3d_ChannelGroup&) = delete;

  // The group's name, or null when it has none. Valid while the group lives.
  virtual const char* GetGroupName();

 private:
  std::string name_;
  bool hasName_;
};

#endif  // QAX_HOST_SDK_A3D_CHANNELGROUP_H_
