// The host's list of dependencies that a channel declares.
#ifndef QAX_HOST_SDK_A3D_LIST_H_
#define QAX_HOST_SDK_A3D_LIST_H_

#include <string>
#include <vector>

#include "host/sdk/Guid.h"
#include "host/sdk/HighPolyExport.h"

// Collects, in the order they are declared, the channel types, libraries and
// core dependencies that a channel needs to be loaded.
class HIGHPOLY_API A3d_List {
 public:
  struct Entry {
    enum class Kind { ChannelGuid, Dll, Core };
    Kind kind;
    _GUID guid;           // set for Kind::ChannelGuid, zero otherwise
    std::string dllName;  // set for Kind::Dll, empty otherwise
  };

  void AddChannelGuid(const _GUID& guid);
  // A null name is recorded as the empty text.
  void AddDll(const char* name);
  void AddCore();

  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

#endif  // QAX_HOST_SDK_A3D_LIST_H_
