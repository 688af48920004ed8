// Makes channels by type GUID: the host's built-in channels and those of
// loaded channel modules.
#ifndef QAX_HOST_SDK_CHANNELTYPEREGISTRY_H_
#define QAX_HOST_SDK_CHANNELTYPEREGISTRY_H_

#include <functional>
#include <map>
#include <memory>

#include "host/sdk/ChannelType.h"
#include "host/sdk/Guid.h"
#include "host/sdk/HighPolyExport.h"

class A3d_Channel;
class ChannelModule;

// Maps a channel type's GUID to a factory of new channels of that type. A
// registry starts empty.
//
// The registry does not own modules: a module registered with RegisterModule
// must stay open while the registry can make channels with it, and every
// channel made through it must be destroyed before the module is closed.
class HIGHPOLY_API ChannelTypeRegistry {
 public:
  // Answers a new channel, owned by the caller, or null when none could be
  // made.
  using Factory = std::function<std::unique_ptr<A3d_Channel>()>;

  ChannelTypeRegistry();
  ~ChannelTypeRegistry();

  // Registers `factory` for `type.TypeGuid`; the channels it makes are given
  // `type` as their ChannelType. False, changing nothing, when that GUID is
  // already registered or the factory is empty.
  bool Register(const ChannelType& type, Factory factory);

  // Registers the host's float ("Value"), text, value vector and matrix
  // channels. Types already registered are left alone.
  void RegisterBuiltIns();

  // Registers the type that `module` answers from GetType(), made by its
  // NewChannel(). The registry keeps a pointer to `module` (see above). False
  // when the module answers no type or its GUID is already registered.
  bool RegisterModule(const ChannelModule& module);

  // A new channel of the type, owned by the caller, with its ChannelType set;
  // null when the GUID is not registered or the factory made none.
  std::unique_ptr<A3d_Channel> NewChannel(const _GUID& typeGuid) const;

  // The registered type record, or null when the GUID is not registered.
  // Valid as long as the registry lives.
  const ChannelType* FindType(const _GUID& typeGuid) const;

 private:
  struct Entry {
    ChannelType type;
    Factory factory;
  };
  struct GuidLess {
    bool operator()(const _GUID& a, const _GUID& b) const;
  };

  std::map<_GUID, Entry, GuidLess> entries_;
};

#endif  // QAX_HOST_SDK_CHANNELTYPEREGISTRY_H_
