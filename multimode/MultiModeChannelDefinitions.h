// The members of MultiModeChannel<Base, Derived>, its static registry
// included. Included by the one translation unit that instantiates a concrete
// class (the module's instantiation is in ontology_item/ItemModeChannel.cpp);
// a second translation unit that included it for the same class would give
// that class a second registry.
#ifndef QAX_MULTIMODE_MULTIMODECHANNELDEFINITIONS_H_
#define QAX_MULTIMODE_MULTIMODECHANNELDEFINITIONS_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "channel_extension/LinkRecord.h"
#include "host/sdk/HighPoly.h"
#include "module/Diagnostics.h"
#include "multimode/MultiModeChannel.h"

namespace qaxoi::module {

// What a reporting site puts behind the operation's name.
inline constexpr const char kCallSuffix[] = "().";

// The text of the out_of_range raised when no scratch link list exists for a
// mode.
inline constexpr const char kSubscriptError[] = "invalid vector<T> subscript";

// Tags and block sizes of the records saved behind the host channel's own.
inline constexpr const char kModeTag[] = "MODE";
inline constexpr const char kAutoNameTag[] = "UACN";
inline constexpr unsigned long kModeBlockSize = 4;
inline constexpr unsigned long kAutoNameBlockSize = 1;

}  // namespace qaxoi::module

// Static members. _tempLinks, _modeOrder and _modes are defined in the order
// in which they are meant to be built.

template <class Base, class Derived>
std::vector<std::vector<ChildCreation>> MultiModeChannel<Base, Derived>::_tempLinks;

template <class Base, class Derived>
std::vector<unsigned int> MultiModeChannel<Base, Derived>::_modeOrder;

template <class Base, class Derived>
std::map<unsigned int, ModeDescription> MultiModeChannel<Base, Derived>::_modes;

template <class Base, class Derived>
unsigned int MultiModeChannel<Base, Derived>::_refCount = 0;

template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::_bModesInitialized = false;

// Construction, copying and destruction.

template <class Base, class Derived>
MultiModeChannel<Base, Derived>::MultiModeChannel()
    : Base(),
      ChannelExtension<Base>(),
      _currentMode(kNoMode),
      _initMode(0),
      _modeDescription("Mode:"),
      _namePrefix(),
      _useAutoChannelName(true),
      _autoSetModeOnLoad(true),
      _loadedMode(kNoMode) {
  this->CE_SetSelf(this);
  this->SetChildCreationCount(0);
  ++_refCount;
}

template <class Base, class Derived>
MultiModeChannel<Base, Derived>::MultiModeChannel(const MultiModeChannel& other)
    : Base(other),
      ChannelExtension<Base>(other),
      _currentMode(other._currentMode),
      _initMode(other._initMode),
      _modeDescription(other._modeDescription),
      _namePrefix(other._namePrefix),
      _useAutoChannelName(other._useAutoChannelName),
      _autoSetModeOnLoad(other._autoSetModeOnLoad),
      _loadedMode(other._loadedMode) {
  this->CE_SetSelf(this);
  ++_refCount;
}

template <class Base, class Derived>
MultiModeChannel<Base, Derived>& MultiModeChannel<Base, Derived>::operator=(
    const MultiModeChannel& other) {
  Base::operator=(other);
  try {
    ChannelExtension<Base>::operator=(other);
    _modeDescription = other._modeDescription;
    _namePrefix = other._namePrefix;
  } catch (...) {
    // The extension may have taken the source's binding before running out
    // of memory: it must keep serving this channel, never the source.
    this->_self = this;
    throw;
  }
  _currentMode = other._currentMode;
  _initMode = other._initMode;
  _useAutoChannelName = other._useAutoChannelName;
  _autoSetModeOnLoad = other._autoSetModeOnLoad;
  _loadedMode = other._loadedMode;
  // The extension's data came from the source, its binding must not. Bound
  // first without the group name, which needs memory.
  this->_self = this;
  this->CE_SetSelf(this);
  return *this;
}

template <class Base, class Derived>
MultiModeChannel<Base, Derived>::~MultiModeChannel() {
  if (!CheckOrReport(_refCount > 0, kMultiModeOperationNames.destructor, "_refCount>0")) {
    return;
  }
  --_refCount;
  if (_refCount == 0) ClearModes();
}

// The registry.

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::BuildModesList(bool force) {
  if (force) {
    _bModesInitialized = false;
  } else if (_bModesInitialized) {
    return;
  }
  _tempLinks.clear();
  try {
    InitializeModes();
  } catch (...) {
    // The scratch lists exist only while InitializeModes runs, also when it
    // ends by an exception; the registry then counts as not built.
    _tempLinks.clear();
    throw;
  }
  _tempLinks.clear();
  _bModesInitialized = true;
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::InitMode(unsigned int mode) {
  _initMode = mode;
  const std::size_t needed = static_cast<std::size_t>(mode) + 1;
  if (_tempLinks.size() < needed) _tempLinks.resize(needed);
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::AddMode(unsigned int mode, const std::string& shortName,
                                              const std::string& name) {
  CheckOrReport(!shortName.empty(), kMultiModeOperationNames.addMode, "shortName.size()>0");
  CheckOrReport(!name.empty(), kMultiModeOperationNames.addMode, "name.size()>0");
  if (_modes.find(mode) == _modes.end()) InitMode(mode);
  if (mode >= _tempLinks.size()) throw std::out_of_range(qaxoi::module::kSubscriptError);

  ModeDescription description;
  description.Name = name;
  description.ShortName = shortName;
  description.Children = _tempLinks[mode];
  description.OrderIndex = static_cast<std::uint32_t>(_modes.size());
  if (_modes.emplace(mode, std::move(description)).second) {
    _modeOrder.push_back(mode);
  } else {
    ReportError(kMultiModeOperationNames.addMode, "ModeAlreadyExists.Mode[%u]", mode);
  }
  if (_modes.size() == 1 && _currentMode == kNoMode) _currentMode = 0;
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::ClearModes() {
  _bModesInitialized = false;
  _tempLinks.clear();
  _modes.clear();
  _modeOrder.clear();
  _currentMode = kNoMode;
  this->SetChildCreationCount(0);
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::GetModeNames(std::vector<std::string>& names) const {
  CheckOrReport(!_modes.empty(), kMultiModeOperationNames.getModeNames, "_modes.size()>0");
  for (const unsigned int mode : _modeOrder) {
    const auto it = _modes.find(mode);
    if (!CheckOrReport(it != _modes.end(), kMultiModeOperationNames.getModeNames,
                       "it!=_modes.end()"))
      continue;
    names.push_back(it->second.Name);
  }
}

template <class Base, class Derived>
const ModeDescription* MultiModeChannel<Base, Derived>::GetModeDescription(
    unsigned int mode) const {
  const auto it = _modes.find(mode);
  if (it == _modes.end()) {
    ReportError(kMultiModeOperationNames.getModeDescription, "ModeNotRecognized.Mode[%u]", mode);
    return nullptr;
  }
  return &it->second;
}

template <class Base, class Derived>
unsigned int MultiModeChannel<Base, Derived>::GetModeFromIndex(unsigned int index) const {
  if (!CheckOrReport(index < _modeOrder.size(), kMultiModeOperationNames.getModeFromIndex,
                     "index<_modeOrder.size()")) {
    return kNoMode;
  }
  return _modeOrder[index];
}

template <class Base, class Derived>
unsigned int MultiModeChannel<Base, Derived>::GetIndexFromMode(unsigned int mode) const {
  const auto it = _modes.find(mode);
  return it == _modes.end() ? 0 : it->second.OrderIndex;
}

template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::IsModeValid(unsigned int mode) const {
  return _modes.find(mode) != _modes.end();
}

template <class Base, class Derived>
unsigned int MultiModeChannel<Base, Derived>::GetModeCount() const {
  return static_cast<unsigned int>(_modes.size());
}

// Switching modes and per-mode links.

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::SetCurrentMode(unsigned int mode) {
  BuildModesList(false);
  const auto it = _modes.find(mode);
  if (it == _modes.end()) {
    const DebugMessagePosition position =
        FormatDebugPrefix(kMultiModeOperationNames.setCurrentMode, qaxoi::module::kCallSuffix);
    const char* const error = AppendDebugMessage(position, "InvalidMode[%u]", mode);
    const std::string shown = GetPrefixedMessage(error);
    globalEngine->ShowDebugMessage(shown.c_str());
    return;
  }

  this->SetChildCreationCount(0);
  const std::vector<ChildCreation>& children = it->second.Children;
  // The host keeps at most kMaxChildLinks links; positions beyond that could
  // not be declared anyway, and every declared position fits an int.
  const std::size_t count =
      std::min<std::size_t>(children.size(), static_cast<std::size_t>(Base::kMaxChildLinks));
  for (std::size_t i = 0; i < count; ++i) {
    ChildCreation record = children[i];
    const int position = static_cast<int>(i);
    if (record.Index >= 0) record.Index = position;
    this->SetChildCreateType(record, position);
  }
  this->CE_SetSelf(this);
  _currentMode = mode;
  ModeIsSet();
  if (_useAutoChannelName) SetAutoChannelName();
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::SetCurrentModeFromIndex(unsigned int orderIndex) {
  if (!CheckOrReport(orderIndex < _modeOrder.size(),
                     kMultiModeOperationNames.setCurrentModeFromIndex,
                     "orderIndex < _modeOrder.size()")) {
    return;
  }
  const unsigned int mode = _modeOrder[orderIndex];
  if (!CheckOrReport(_modes.find(mode) != _modes.end(),
                     kMultiModeOperationNames.setCurrentModeFromIndex, "it!=_modes.end()")) {
    return;
  }
  SetCurrentMode(mode);
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::ModeIsSet() {}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::CreateLink(_GUID typeGuid, const char* TypeName,
                                                 const char* Name, int linkParam, bool unindexed) {
  const char* const typeName =
      CheckOrReport(TypeName != nullptr, kMultiModeOperationNames.createLink, "TypeName") ? TypeName
                                                                                          : "";
  const char* const linkName =
      CheckOrReport(Name != nullptr, kMultiModeOperationNames.createLink, "Name") ? Name : "";

  const ChildCreation record =
      MakeLinkRecord(typeGuid, typeName, linkName, unindexed ? -1 : 0, linkParam);

  if (!CheckOrReport(_tempLinks.size() > _initMode, kMultiModeOperationNames.createLink,
                     "_tempLinks.size() > _initMode")) {
    throw std::out_of_range(qaxoi::module::kSubscriptError);
  }
  std::vector<ChildCreation>& links = _tempLinks[_initMode];
  this->SetChildLinkName(static_cast<unsigned int>(links.size()), linkName);
  links.push_back(record);
}

template <class Base, class Derived>
const char* MultiModeChannel<Base, Derived>::GetChildLinkName(unsigned int link) {
  BuildModesList(false);
  const auto found = _modes.find(_currentMode);
  if (!CheckOrReport(found != _modes.end(), kMultiModeOperationNames.getChildLinkName,
                     "found != _modes.end()")) {
    return ChannelExtension<Base>::GetChildLinkName(link);
  }
  const ModeDescription& desc = found->second;
  if (!CheckOrReport(link < desc.Children.size(), kMultiModeOperationNames.getChildLinkName,
                     "link < desc.Children.size()")) {
    return ChannelExtension<Base>::GetChildLinkName(link);
  }
  return desc.Children[link].LinkName;
}

// Persistence and naming.

template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::SaveChannel(A3dFileSaver& saver) {
  using qaxoi::module::kAutoNameBlockSize;
  using qaxoi::module::kModeBlockSize;
  if (!Base::SaveChannel(saver)) return false;

  unsigned char mode[kModeBlockSize];
  for (std::size_t i = 0; i < kModeBlockSize; ++i) {
    mode[i] = static_cast<unsigned char>((_currentMode >> (8 * i)) & 0xFFu);
  }
  saver.SaveTag(qaxoi::module::kModeTag);
  saver.SaveBlockSize(kModeBlockSize);
  saver.SaveDataToFile(mode, kModeBlockSize);

  const unsigned char autoName = _useAutoChannelName ? 1 : 0;
  saver.SaveTag(qaxoi::module::kAutoNameTag);
  saver.SaveBlockSize(kAutoNameBlockSize);
  saver.SaveDataToFile(&autoName, kAutoNameBlockSize);
  return true;
}

template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
  using qaxoi::module::kAutoNameBlockSize;
  using qaxoi::module::kModeBlockSize;
  if (!Base::LoadChannel(loader, group)) return false;

  _loadedMode = 0;
  if (loader.GetInfoIfTag(qaxoi::module::kModeTag)) {
    if (loader.GetSizeDataBlock(false) == kModeBlockSize) {
      unsigned char mode[kModeBlockSize];
      loader.CopyTagDataToPointer(mode);
      unsigned int loaded = 0;
      for (std::size_t i = 0; i < kModeBlockSize; ++i) {
        loaded |= static_cast<unsigned int>(mode[i]) << (8 * i);
      }
      _loadedMode = loaded;
    } else {
      loader.SkipCurrentTag();
    }
  }
  if (loader.GetInfoIfTag(qaxoi::module::kAutoNameTag)) {
    if (loader.GetSizeDataBlock(false) == kAutoNameBlockSize) {
      unsigned char autoName = 0;
      loader.CopyTagDataToPointer(&autoName);
      _useAutoChannelName = autoName != 0;
    } else {
      loader.SkipCurrentTag();
    }
  }
  if (_autoSetModeOnLoad) SetCurrentMode(_loadedMode);
  return true;
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::SetAutoChannelName() {
  std::string name = _namePrefix;
  const ModeDescription* const description = GetModeDescription(_currentMode);
  if (description != nullptr) {
    name += description->ShortName;
  } else {
    name += FormatDebugMessage("UnknownMode[%u]", _currentMode);
  }
  this->SetChannelName(name.c_str());
}

template <class Base, class Derived>
const std::string MultiModeChannel<Base, Derived>::GetPrefixedMessage(const char* message) {
  // Copied before anything else is composed: `message` may be the message
  // buffer, which the mode lookup below may overwrite.
  const std::string text =
      CheckOrReport(message != nullptr, kMultiModeOperationNames.getPrefixedMessage, "message")
          ? std::string(message)
          : std::string();

  std::string result;
  const ModeDescription* const description = GetModeDescription(_currentMode);
  if (description != nullptr) {
    result += _namePrefix;
    result += description->ShortName;
    result += '.';
  }
  const char* const group = GetChannelGroupName(this);
  const char* const name = this->GetChannelName();
  result += "CGR[";
  result += group != nullptr ? group : "null";
  result += "].Channel[";
  result += name != nullptr ? name : "null";
  result += "].";
  result += text;
  return result;
}

template <class Base, class Derived>
const std::string MultiModeChannel<Base, Derived>::GetPrefixedMessage(std::string message) {
  return GetPrefixedMessage(message.c_str());
}

// Settings.

template <class Base, class Derived>
unsigned int MultiModeChannel<Base, Derived>::GetCurrentMode() const {
  return _currentMode;
}

template <class Base, class Derived>
const std::string& MultiModeChannel<Base, Derived>::GetNamePrefix() const {
  return _namePrefix;
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::SetNamePrefix(const std::string& prefix) {
  _namePrefix = prefix;
}

template <class Base, class Derived>
const std::string& MultiModeChannel<Base, Derived>::GetModeDescription() const {
  return _modeDescription;
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::SetModeDescription(const std::string& description) {
  _modeDescription = description;
}

template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::GetUseAutoChannelName() const {
  return _useAutoChannelName;
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::SetUseAutoChannelName(bool use) {
  _useAutoChannelName = use;
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::SetAutoSetModeOnLoad(bool autoSet) {
  _autoSetModeOnLoad = autoSet;
}

#endif  // QAX_MULTIMODE_MULTIMODECHANNELDEFINITIONS_H_
