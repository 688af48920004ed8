// Loads channel modules the way the host engine does: by file path.
#ifndef QAX_HOST_SDK_MODULELOADER_H_
#define QAX_HOST_SDK_MODULELOADER_H_

#include <memory>
#include <string>

#include "host/sdk/HighPolyExport.h"

class A3d_Channel;
struct ChannelType;

// A channel module opened from its file. A module exports two functions under
// these plain names:
//   ChannelType* GetType();   the module's channel type, owned by the module
//   A3d_Channel* InitDLL();   a new channel, owned by the caller, or null
// Closing the module (destroying this object) unloads the library: every
// channel made through it must be destroyed first.
class HIGHPOLY_API ChannelModule {
 public:
  // Opens the library at `path` and resolves both functions. On failure
  // answers null and, when `error` is given, sets it to a text that names the
  // file, the missing symbol if any, and the system's reason.
  static std::unique_ptr<ChannelModule> Open(const std::string& path, std::string* error);

  ~ChannelModule();
  ChannelModule(const ChannelModule&) = delete;
  ChannelModule& operator=(const ChannelModule&) = delete;

  // The module's descriptor, as its GetType() answers it (owned by the module).
  ChannelType* GetType() const;
  // A new channel from InitDLL(), given the type from GetType(); null when the
  // module could not make one.
  std::unique_ptr<A3d_Channel> NewChannel() const;

  const std::string& Path() const { return path_; }

 private:
  using GetTypeFunction = ChannelType* (*)();
  using InitDllFunction = A3d_Channel* (*)();

  ChannelModule(std::string path, void* handle, GetTypeFunction getType, InitDllFunction initDll);

  std::string path_;
  void* handle_;
  GetTypeFunction getType_;
  InitDllFunction initDll_;
};

#endif  // QAX_HOST_SDK_MODULELOADER_H_
