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
// This header declares; the member definitions, static members included, are
// in multimode/MultiModeChannelDefinitions.h, which the one translation unit
// that instantiates a concrete class's registry includes. The module makes
// its own instantiation once and exports it; its clients use that one and
// never make their own copy.
//
// The host calls from one thread; nothing here locks.
#ifndef QAX_MULTIMODE_MULTIMODECHANNEL_H_
#define QAX_MULTIMODE_MULTIMODECHANNEL_H_

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
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

// The texts by which the messages of a multi-mode channel name the operation
// that reports: fixed texts, the same whatever the template arguments of the
// reporting instantiation. The module's channel class gives them
// (kMultiModeOperationNames), so that every multi-mode channel of the module
// speaks of its operations as the module's channel class does.
struct MultiModeOperationNames {
  const char* addMode;
  const char* getModeNames;
  const char* getModeDescription;
  const char* getModeFromIndex;
  const char* setCurrentMode;
  const char* setCurrentModeFromIndex;
  const char* createLink;
  const char* getChildLinkName;
  const char* destructor;
  const char* getPrefixedMessage;
};

// The module's operation names; defined with the module's own instantiation.
extern QAXOI_API const MultiModeOperationNames kMultiModeOperationNames;

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
  unsigned int GetCurrentMode() const;

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

  const std::string& GetNamePrefix() const;
  // Takes effect at the next automatic name.
  void SetNamePrefix(const std::string& prefix);
  // A descriptive text of the mode setting ("Mode:" unless set); only stored.
  const std::string& GetModeDescription() const;
  void SetModeDescription(const std::string& description);
  bool GetUseAutoChannelName() const;
  // Takes effect at the next switch.
  void SetUseAutoChannelName(bool use);
  void SetAutoSetModeOnLoad(bool autoSet);

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

#endif  // QAX_MULTIMODE_MULTIMODECHANNEL_H_
