#include "host/sdk/A3d_Channel.h"

#include <cstring>

#include "host/sdk/A3d_ChannelGroup.h"
#include "host/sdk/A3d_List.h"

A3d_Channel::A3d_Channel() : hasName_(false), group_(nullptr), timeStamp_(0), interfaceType_(0) {}

A3d_Channel::A3d_Channel(const A3d_Channel& other) = default;
A3d_Channel& A3d_Channel::operator=(const A3d_Channel& other) = default;
A3d_Channel::~A3d_Channel() = default;

void A3d_Channel::CallChannel() {}
void A3d_Channel::OneTimeInitialize() {}
void A3d_Channel::DoEvent(int /*event*/, void* /*data*/) {}
ChannelType A3d_Channel::GetChannelType() const { return type_; }

bool A3d_Channel::SaveChannel(A3dFileSaver& saver) {
  // The name record: the name and its terminator, or an empty block for a
  // channel without a name (so that "no name" and "" survive apart).
  if (saver.SaveTag(kNameTag) == 0) return false;
  if (!hasName_) {
    saver.SaveBlockSize(0);
    return true;
  }
  saver.SaveBlockSize(static_cast<unsigned long>(name_.size() + 1));
  saver.SaveDataToFile(name_.c_str(), static_cast<unsigned long>(name_.size() + 1));
  return true;
}

bool A3d_Channel::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
  if (!loader.GetInfoIfTag(kNameTag)) return false;
  const unsigned long size = loader.GetSizeDataBlock(false);
  if (size == 0) {
    loader.SkipCurrentTag();
    hasName_ = false;
    name_.clear();
  } else {
    std::string block(size, '\0');
    loader.CopyTagDataToPointer(&block[0]);
    // The text up to its terminator; a block without one gives all its bytes.
    name_.assign(block.c_str(), ::strnlen(block.c_str(), block.size()));
    hasName_ = true;
  }
  if (group != nullptr) SetChannelGroup(group);
  return true;
}

void A3d_Channel::SetChannelInterfaceType(int type) { interfaceType_ = type; }
A3d_Channel* A3d_Channel::GetChannelFromChannel(int /*kind*/) { return this; }
unsigned long A3d_Channel::GetTimeStamp() const { return timeStamp_; }
void A3d_Channel::SetTimeStamp(unsigned long stamp) { timeStamp_ = stamp; }
void A3d_Channel::DoDependencyInit(A3d_List* /*list*/) {}
bool A3d_Channel::CheckIndexNrRemoval(int /*index*/) { return true; }
A3d_Channel* A3d_Channel::GetInternalChild(int /*index*/) { return nullptr; }
bool A3d_Channel::CheckPublicChannelInstanceRemoval(A3d_Channel* /*channel*/) { return true; }
void A3d_Channel::AddMetaData(const char* /*key*/, const char* /*value*/) {}
void A3d_Channel::SetChannelGroup(A3d_ChannelGroup* group) { group_ = group; }
void* A3d_Channel::GetFeedbackClass() { return nullptr; }

void A3d_Channel::SetContextRenderCountName(const char* name) {
  contextRenderCountName_ = name != nullptr ? name : "";
}

const char* A3d_Channel::GetContextRenderCountName() const {
  return contextRenderCountName_.c_str();
}

int A3d_Channel::GetChildCount() const { return static_cast<int>(slots_.size()); }

A3d_Channel* A3d_Channel::GetChild(int index) const {
  if (index < 0 || index >= GetChildCount()) return nullptr;
  return slots_[static_cast<std::size_t>(index)].child;
}

const char* A3d_Channel::GetChannelName() const { return hasName_ ? name_.c_str() : nullptr; }

void A3d_Channel::SetChannelName(const char* name) {
  if (name == nullptr) {
    hasName_ = false;
    name_.clear();
    return;
  }
  // Assign through a temporary: `name` may point into name_ itself.
  std::string copy(name);
  name_.swap(copy);
  hasName_ = true;
}

A3d_ChannelGroup* A3d_Channel::GetChannelGroup() const { return group_; }

void A3d_Channel::SetChildCreationCount(int count) {
  if (count == 0) slots_.clear();
}

void A3d_Channel::SetChildCreateType(ChildCreation record, int index) {
  if (index < 0 || index > GetChildCount()) return;
  if (index == GetChildCount()) {
    if (index >= kMaxChildLinks) return;
    slots_.push_back(Slot{record, nullptr});
    return;
  }
  slots_[static_cast<std::size_t>(index)].record = record;
}

void A3d_Channel::AddChannelGuidDepend(_GUID guid, A3d_List* list) {
  if (list != nullptr) list->AddChannelGuid(guid);
}

void A3d_Channel::AddDLLDepend(const char* dllName, A3d_List* list) {
  if (list != nullptr) list->AddDll(dllName);
}

const ChildCreation* A3d_Channel::GetChildCreation(int index) const {
  if (index < 0 || index >= GetChildCount()) return nullptr;
  return &slots_[static_cast<std::size_t>(index)].record;
}

bool A3d_Channel::LinkChild(int index, A3d_Channel* child) {
  if (index < 0 || index >= GetChildCount()) return false;
  slots_[static_cast<std::size_t>(index)].child = child;
  return true;
}

void A3d_Channel::SetChannelType(const ChannelType& type) { type_ = type; }
