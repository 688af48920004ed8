#include "host/sdk/ModuleLoader.h"

#include <cstring>
#include <utility>

#include "host/sdk/A3d_Channel.h"
#include "host/sdk/ChannelType.h"

#if defined(_WIN32)
#include <windows.h>

#include "host/sdk/WindowsError.h"
#else
#include <dlfcn.h>
#endif

namespace {

#if defined(_WIN32)
void* OpenLibrary(const std::string& path) { return LoadLibraryA(path.c_str()); }
void* FindSymbol(void* handle, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void CloseLibrary(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }
std::string LastSystemError() { return WindowsErrorText(GetLastError()); }
#else
void* OpenLibrary(const std::string& path) { return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }
void* FindSymbol(void* handle, const char* name) { return dlsym(handle, name); }
void CloseLibrary(void* handle) { dlclose(handle); }
std::string LastSystemError() {
  const char* reason = dlerror();
  return reason != nullptr ? reason : "unknown reason";
}
#endif

template <typename Function>
Function ToFunction(void* symbol) {
  // Object and function pointers have the same size on every platform that
  // loads libraries by symbol name; the copy avoids a cast between them.
  static_assert(sizeof(Function) == sizeof(void*), "function pointer size");
  Function function;
  std::memcpy(&function, &symbol, sizeof(function));
  return function;
}

}  // namespace

qaxoi::Status ChannelModule::Open(const std::string& path, std::unique_ptr<ChannelModule>* module) {
  void* handle = OpenLibrary(path);
  if (handle == nullptr) {
    return qaxoi::Status::IoError("cannot load channel module '" + path +
                                  "': " + LastSystemError());
  }
  void* getType = nullptr;
  void* initDll = nullptr;
  for (const char* name : {"GetType", "InitDLL"}) {
    void* symbol = FindSymbol(handle, name);
    if (symbol == nullptr) {
      qaxoi::Status missing = qaxoi::Status::InvalidInput(
          "channel module '" + path + "' does not export '" + name + "': " + LastSystemError());
      CloseLibrary(handle);
      return missing;
    }
    (std::string(name) == "GetType" ? getType : initDll) = symbol;
  }
  module->reset(new ChannelModule(path, handle, ToFunction<GetTypeFunction>(getType),
                                  ToFunction<InitDllFunction>(initDll)));
  return qaxoi::Status::Ok();
}

ChannelModule::ChannelModule(std::string path, void* handle, GetTypeFunction getType,
                             InitDllFunction initDll)
    : path_(std::move(path)), handle_(handle), getType_(getType), initDll_(initDll) {}

ChannelModule::~ChannelModule() { CloseLibrary(handle_); }

ChannelType* ChannelModule::GetType() const { return getType_(); }

std::unique_ptr<A3d_Channel> ChannelModule::NewChannel() const {
  std::unique_ptr<A3d_Channel> channel(initDll_());
  if (channel) {
    const ChannelType* type = getType_();
    if (type != nullptr) channel->SetChannelType(*type);
  }
  return channel;
}
