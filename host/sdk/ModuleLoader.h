// Loads channel modules the way the host engine does: by file path.
#ifndef QAX_HOST_SDK_MODULELOADER_H_
#define QAX_HOST_SDK_MODULELOADER_H_

#include <memory>
#include <string>

#include "host/sdk/HighPolyExport.h"
#include "host/status/Status.h"

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
  // Opens the library at `path`, resolves both functions and hands the
  // module to `module`. On failure leaves `module` as it was and answers a
  // message that names the file, the missing symbol if any, and the
  // system's reason: kIoError when the library cannot be loaded,
  // kInvalidInput when it lacks a function.
  static qaxoi::Status Open(const std::string& path, std::unique_ptr<ChannelModule>* module);

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
