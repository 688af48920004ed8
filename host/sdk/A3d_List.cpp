#include "host/sdk/A3d_List.h"

void A3d_List::AddChannelGuid(const _GUID& guid) {
  entries_.push_back(Entry{Entry::Kind::ChannelGuid, guid, std::string()});
}

void A3d_List::AddDll(const char* name) {
  entries_.push_back(Entry{Entry::Kind::Dll, _GUID{}, name != nullptr ? name : ""});
}

void A3d_List::AddCore() { entries_.push_back(Entry{Entry::Kind::Core, _GUID{}, std::string()}); }
