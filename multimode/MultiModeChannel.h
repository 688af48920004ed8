// A host channel with modes: numbered configurations, each with its own names
// and child links, registered once per concrete channel class and shared by
// all its instances.
//
// A concrete class derives from MultiModeChannel<HostChannel, itself> and
// implements InitializeModes: for each mode it calls InitMode(id), declares
// the mode's links with the channel extension's Create*Link operations, then
// calls AddMode(id, shortName, name). SetCurrentMode then replaces the
// channel's declared child links by those of the chosen mode.
//
// Every definition, static members included, lives in this header so that
// each concrete class gets its own registry. The module's own instantiation
// (over Aco_FloatChannel and Aco_QAXOntologyItem) is made once inside the
// module and exported; clients use that one and never make their own copy.
//
// The host calls from one thread; nothing here locks.
#ifndef QAX_MULTIMODE_MULTIMODECHANNEL_H_
#define QAX_MULTIMODE_MULTIMODECHANNEL_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "channel_extension/ChannelExtension.h"
#include "host/sdk/HighPoly.h"
#include "module/Diagnostics.h"
#include "module/Export.h"

// One registered mode of a multi-mode channel class.
struct ModeDescription {
  std::string Name;       // full name, listed by GetModeNames
  std::string ShortName;  // used in automatic channel names and message prefixes
  // The mode's links in declaration order; the position of a record is the
  // child index the link takes while the mode is current.
  std::vector<ChildCreation> Children;
  // The number of modes registered before this one.
  std::uint32_t OrderIndex = 0;
};

namespace multimode_internal {

// Messages name their operation by these fixed texts, whatever the template
// arguments of the reporting instantiation are.
inline constexpr const char kAddModeFunction[] =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::AddMode";
inline constexpr const char kGetModeNamesFunction[] =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetModeNames";
inline constexpr const char kGetModeDescriptionFunction[] =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetModeDescription";
inline constexpr const char kGetModeFromIndexFunction[] =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetModeFromIndex";
inline constexpr const char kSetCurrentModeFunction[] =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::SetCurrentMode";
inline constexpr const char kSetCurrentModeFromIndexFunction[] =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::SetCurrentModeFromIndex";
inline constexpr const char kCreateLinkFunction[] =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::CreateLink";
inline constexpr const char kGetChildLinkNameFunction[] =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetChildLinkName";
inline constexpr const char kDestructorFunction[] =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::~MultiModeChannel";
inline constexpr const char kGetPrefixedMessageFunction[] =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetPrefixedMessage";

inline constexpr const char kCallSuffix[] = "().";

// The text of the out_of_range raised when no scratch link list exists for a
// mode.
inline constexpr const char kSubscriptError[] = "invalid vector<T> subscript";

// Tags and block sizes of the records saved behind the host channel's own.
inline constexpr const char kModeTag[] = "MODE";
inline constexpr const char kAutoNameTag[] = "UACN";
inline constexpr unsigned long kModeBlockSize = 4;
inline constexpr unsigned long kAutoNameBlockSize = 1;

}  // namespace multimode_internal

// `Base` is the host channel class the channel is (an A3d_Channel);
// `Derived` is the concrete class deriving from this template. Derived is
// only a tag that gives each concrete class its own static registry; it may
// be incomplete wherever the template is instantiated.
//
// Failures are shown through the module's diagnostics and the operation goes
// on; the one exception raised on purpose is std::out_of_range from AddMode
// and CreateLink when no scratch link list exists for the mode concerned.
template <class Base, class Derived>
class QAXOI_VISIBLE MultiModeChannel : public Base, public ChannelExtension<Base> {
 public:
  // The value of _currentMode (and _loadedMode) when there is no mode. An
  // enumerator, not a static constant: GCC gives a class template's static
  // constants unique symbols, which keep a library from ever unloading.
  enum : unsigned int { kNoMode = 0xFFFFFFFFu };

  // A channel with no current mode and no declared child links, its channel
  // extension bound to itself. Counts one more live instance; does not build
  // the registry.
  MultiModeChannel();
  // Copies the host channel, the channel extension and the mode settings,
  // then binds the copy's extension to the copy. Counts one more instance.
  MultiModeChannel(const MultiModeChannel& other);
  // Copies the same parts; the target's extension stays bound to the target.
  MultiModeChannel& operator=(const MultiModeChannel& other);
  // Counts one instance less; the last instance empties the registry, which
  // the next instance builds anew.
  ~MultiModeChannel() override;

  // Writes the host channel's records, then "MODE" (the current mode, 4 bytes
  // little-endian, 0xFFFFFFFF for none) and "UACN" (1 byte, 1 or 0). False,
  // with nothing more written, when the host channel's save fails.
  bool SaveChannel(A3dFileSaver& saver) override;
  // Reads what SaveChannel wrote. A missing record, or one of another block
  // size, is skipped: the loaded mode is then 0 and the naming flag keeps its
  // value. Switches to the loaded mode when SetAutoSetModeOnLoad is on.
  // False, with nothing more read, when the host channel's load fails.
  bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override;

  // Registers the concrete class's modes (see the file comment); called only
  // by BuildModesList. It must not switch modes or ask for link names, which
  // would build the registry again from inside its own build.
  virtual void InitializeModes() = 0;
  // Called after every successful switch, once the links are declared and the
  // current mode is set, before the automatic name. Does nothing here.
  virtual void ModeIsSet();
  // Names the channel: the name prefix followed by the current mode's short
  // name, or by "UnknownMode[<id>]" when the current mode is not registered
  // (which is also reported).
  virtual void SetAutoChannelName();

 protected:
  // "<prefix><short name>." (only with a registered current mode), then
  // "CGR[<group>].Channel[<name>]." and `message`; "null" stands for a group
  // name or channel name the host gives as null. A null `message` is reported
  // and taken as empty. `message` may point into the module's message buffer.
  //
  // Declared right behind the other three new virtual operations, and before
  // the overrides of the extension's, so that the four keep their places in
  // the primary interface.
  virtual const std::string GetPrefixedMessage(const char* message);
  const std::string GetPrefixedMessage(std::string message);

 public:
  // Runs InitializeModes on this instance unless the registry is built
  // already; `force` builds it again. A forced build keeps the registered
  // modes (use ClearModes first to start from nothing).
  void BuildModesList(bool force);
  // Registers `mode` with the links collected for it since InitMode(mode).
  // Empty names are reported and registered as they are. An id registered
  // already keeps its first description and is reported. Raises
  // std::out_of_range, registering nothing, when `mode` is registered already
  // and has no scratch list (outside InitializeModes). The first registration
  // of the class sets this instance's current mode to 0 when it has none,
  // without declaring links.
  void AddMode(unsigned int mode, const std::string& shortName, const std::string& name);
  // Empties the registry (the next switch builds it again), takes this
  // instance back to no current mode and drops its declared links. Other
  // instances keep their mode and links.
  void ClearModes();
  // Appends the full names of the registered modes in registration order;
  // `names` is not emptied first. Reports an empty registry.
  void GetModeNames(std::vector<std::string>& names) const;
  // The registered description of `mode`, or null (reported). The pointer
  // stays valid until ClearModes.
  const ModeDescription* GetModeDescription(unsigned int mode) const;
  // The id registered at place `index` of the registration order;
  // 0xFFFFFFFF, reported, past the end.
  unsigned int GetModeFromIndex(unsigned int index) const;
  // The place of `mode` in registration order; 0 when not registered.
  unsigned int GetIndexFromMode(unsigned int mode) const;
  bool IsModeValid(unsigned int mode) const;
  unsigned int GetModeCount() const;

  // Builds the registry if needed, then declares the links of `mode` to the
  // host (indexed links at their position, unindexed ones at -1), binds the
  // extension again, makes `mode` current, calls ModeIsSet and, when enabled,
  // SetAutoChannelName. An unregistered `mode` is reported with the channel's
  // identification and changes nothing.
  void SetCurrentMode(unsigned int mode);
  // SetCurrentMode with the id at place `orderIndex` of the registration
  // order. Does not build the registry; a place past the end is reported and
  // switches nothing.
  void SetCurrentModeFromIndex(unsigned int orderIndex);
  // The current mode id, 0xFFFFFFFF for none.
  unsigned int GetCurrentMode() const { return _currentMode; }

  // Collects a link for the mode being prepared (see InitMode) under the
  // index it will have in that mode; declares nothing to the host. Null texts
  // are reported and taken as empty. Raises std::out_of_range, recording
  // nothing, when no mode is being prepared.
  void CreateLink(_GUID typeGuid, const char* TypeName, const char* Name, int linkParam,
                  bool unindexed) override;
  // The name of link `link` of the current mode; builds the registry if
  // needed. Without a registered current mode, or past the mode's links, it
  // reports and answers the extension's own name for the link. The text is
  // valid until ClearModes or until the extension's names change.
  const char* GetChildLinkName(unsigned int link) override;

  const std::string& GetNamePrefix() const { return _namePrefix; }
  // Takes effect at the next automatic name.
  void SetNamePrefix(const std::string& prefix) { _namePrefix = prefix; }
  // A descriptive text of the mode setting ("Mode:" unless set); only stored.
  const std::string& GetModeDescription() const { return _modeDescription; }
  void SetModeDescription(const std::string& description) { _modeDescription = description; }
  bool GetUseAutoChannelName() const { return _useAutoChannelName; }
  // Takes effect at the next switch.
  void SetUseAutoChannelName(bool use) { _useAutoChannelName = use; }
  void SetAutoSetModeOnLoad(bool autoSet) { _autoSetModeOnLoad = autoSet; }

 protected:
  // Makes `mode` the mode whose links CreateLink collects, creating scratch
  // lists up to it (a large id makes the scratch table that long). Links
  // collected for it so far are kept.
  void InitMode(unsigned int mode);

  // The registry, one set per Derived.
  static std::vector<std::vector<ChildCreation>> _tempLinks;  // scratch lists by mode id
  static std::vector<unsigned int> _modeOrder;                // ids in registration order
  static std::map<unsigned int, ModeDescription> _modes;      // registered modes by id
  static unsigned int _refCount;                              // live instances
  static bool _bModesInitialized;                             // InitializeModes has run

  unsigned int _currentMode;
  unsigned int _initMode;
  std::string _modeDescription;
  std::string _namePrefix;
  bool _useAutoChannelName;
  bool _autoSetModeOnLoad;
  unsigned int _loadedMode;
};

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
  if (!CheckOrReport(_refCount > 0, multimode_internal::kDestructorFunction, "_refCount>0")) {
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
  using multimode_internal::kAddModeFunction;
  CheckOrReport(!shortName.empty(), kAddModeFunction, "shortName.size()>0");
  CheckOrReport(!name.empty(), kAddModeFunction, "name.size()>0");
  if (_modes.find(mode) == _modes.end()) InitMode(mode);
  if (mode >= _tempLinks.size()) throw std::out_of_range(multimode_internal::kSubscriptError);

  ModeDescription description;
  description.Name = name;
  description.ShortName = shortName;
  description.Children = _tempLinks[mode];
  description.OrderIndex = static_cast<std::uint32_t>(_modes.size());
  if (_modes.emplace(mode, std::move(description)).second) {
    _modeOrder.push_back(mode);
  } else {
    ReportError(kAddModeFunction, "ModeAlreadyExists.Mode[%u]", mode);
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
  using multimode_internal::kGetModeNamesFunction;
  CheckOrReport(!_modes.empty(), kGetModeNamesFunction, "_modes.size()>0");
  for (const unsigned int mode : _modeOrder) {
    const auto it = _modes.find(mode);
    if (!CheckOrReport(it != _modes.end(), kGetModeNamesFunction, "it!=_modes.end()")) continue;
    names.push_back(it->second.Name);
  }
}

template <class Base, class Derived>
const ModeDescription* MultiModeChannel<Base, Derived>::GetModeDescription(
    unsigned int mode) const {
  const auto it = _modes.find(mode);
  if (it == _modes.end()) {
    ReportError(multimode_internal::kGetModeDescriptionFunction, "ModeNotRecognized.Mode[%u]",
                mode);
    return nullptr;
  }
  return &it->second;
}

template <class Base, class Derived>
unsigned int MultiModeChannel<Base, Derived>::GetModeFromIndex(unsigned int index) const {
  if (!CheckOrReport(index < _modeOrder.size(), multimode_internal::kGetModeFromIndexFunction,
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
    const DebugMessagePosition position = FormatDebugPrefix(
        multimode_internal::kSetCurrentModeFunction, multimode_internal::kCallSuffix);
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
  using multimode_internal::kSetCurrentModeFromIndexFunction;
  if (!CheckOrReport(orderIndex < _modeOrder.size(), kSetCurrentModeFromIndexFunction,
                     "orderIndex < _modeOrder.size()")) {
    return;
  }
  const unsigned int mode = _modeOrder[orderIndex];
  if (!CheckOrReport(_modes.find(mode) != _modes.end(), kSetCurrentModeFromIndexFunction,
                     "it!=_modes.end()")) {
    return;
  }
  SetCurrentMode(mode);
}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::ModeIsSet() {}

template <class Base, class Derived>
void MultiModeChannel<Base, Derived>::CreateLink(_GUID typeGuid, const char* TypeName,
                                                 const char* Name, int linkParam, bool unindexed) {
  using multimode_internal::kCreateLinkFunction;
  const char* const typeName =
      CheckOrReport(TypeName != nullptr, kCreateLinkFunction, "TypeName") ? TypeName : "";
  const char* const linkName =
      CheckOrReport(Name != nullptr, kCreateLinkFunction, "Name") ? Name : "";

  const ChildCreation record =
      MakeLinkRecord(typeGuid, typeName, linkName, unindexed ? -1 : 0, linkParam);

  if (!CheckOrReport(_tempLinks.size() > _initMode, kCreateLinkFunction,
                     "_tempLinks.size() > _initMode")) {
    throw std::out_of_range(multimode_internal::kSubscriptError);
  }
  std::vector<ChildCreation>& links = _tempLinks[_initMode];
  this->SetChildLinkName(static_cast<unsigned int>(links.size()), linkName);
  links.push_back(record);
}

template <class Base, class Derived>
const char* MultiModeChannel<Base, Derived>::GetChildLinkName(unsigned int link) {
  using multimode_internal::kGetChildLinkNameFunction;
  BuildModesList(false);
  const auto found = _modes.find(_currentMode);
  if (!CheckOrReport(found != _modes.end(), kGetChildLinkNameFunction, "found != _modes.end()")) {
    return ChannelExtension<Base>::GetChildLinkName(link);
  }
  const ModeDescription& desc = found->second;
  if (!CheckOrReport(link < desc.Children.size(), kGetChildLinkNameFunction,
                     "link < desc.Children.size()")) {
    return ChannelExtension<Base>::GetChildLinkName(link);
  }
  return desc.Children[link].LinkName;
}

// Persistence and naming.

template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::SaveChannel(A3dFileSaver& saver) {
  using multimode_internal::kAutoNameBlockSize;
  using multimode_internal::kModeBlockSize;
  if (!Base::SaveChannel(saver)) return false;

  unsigned char mode[kModeBlockSize];
  for (std::size_t i = 0; i < kModeBlockSize; ++i) {
    mode[i] = static_cast<unsigned char>((_currentMode >> (8 * i)) & 0xFFu);
  }
  saver.SaveTag(multimode_internal::kModeTag);
  saver.SaveBlockSize(kModeBlockSize);
  saver.SaveDataToFile(mode, kModeBlockSize);

  const unsigned char autoName = _useAutoChannelName ? 1 : 0;
  saver.SaveTag(multimode_internal::kAutoNameTag);
  saver.SaveBlockSize(kAutoNameBlockSize);
  saver.SaveDataToFile(&autoName, kAutoNameBlockSize);
  return true;
}

template <class Base, class Derived>
bool MultiModeChannel<Base, Derived>::LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) {
  using multimode_internal::kAutoNameBlockSize;
  using multimode_internal::kModeBlockSize;
  if (!Base::LoadChannel(loader, group)) return false;

  _loadedMode = 0;
  if (loader.GetInfoIfTag(multimode_internal::kModeTag)) {
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
  if (loader.GetInfoIfTag(multimode_internal::kAutoNameTag)) {
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
      CheckOrReport(message != nullptr, multimode_internal::kGetPrefixedMessageFunction, "message")
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

// The module's registry is defined in module/StaticState.cpp, with the
// module's other static objects, so that it is built after them when the
// module is loaded and destroyed before them when it is unloaded. The
// specializations are declared before the instantiation below, which must
// not instantiate them.
//
// The module's one instantiation lives in the module and is exported; clients
// must use it rather than instantiate their own copy of its registry. GCC
// takes the visibility of a class when the class is first named: on ELF the
// specializations name it first, the attribute on the instantiation is
// reported as ignored, and the visibility of the class template and of its
// arguments exports it. A DLL exports only what carries dllexport, so on
// Windows the module declares the instantiation first and each
// specialization carries the attribute itself. GCC does not emit the inline
// members of an explicitly instantiated class template, so a client that
// declared the instantiation extern would lack them: clients on Windows
// instantiate the members themselves, and the exported specializations
// keep the registry the module's.
class QAXOI_API Aco_QAXOntologyItem;
#if defined(_WIN32)
#if defined(QAXOI_BUILDING)
extern template class QAXOI_API MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>;
#endif
#define QAXOI_REGISTRY_API QAXOI_API
#else
#define QAXOI_REGISTRY_API
#endif
template <>
QAXOI_REGISTRY_API std::vector<std::vector<ChildCreation>>
    MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>::_tempLinks;
template <>
QAXOI_REGISTRY_API std::vector<unsigned int>
    MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>::_modeOrder;
template <>
QAXOI_REGISTRY_API std::map<unsigned int, ModeDescription>
    MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>::_modes;
template <>
QAXOI_REGISTRY_API unsigned int MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>::_refCount;
template <>
QAXOI_REGISTRY_API bool MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>::_bModesInitialized;
#undef QAXOI_REGISTRY_API

#if !defined(_WIN32)
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
#endif
extern template class QAXOI_API MultiModeChannel<Aco_FloatChannel, Aco_QAXOntologyItem>;
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif

#endif  // QAX_MULTIMODE_MULTIMODECHANNEL_H_
