// Channel classes with real modes for the multi-mode channel tests. Each is
// its own Derived, so each has its own registry, separate from the module's.
#ifndef QAX_TESTS_MULTIMODE_TESTMODECHANNELS_H_
#define QAX_TESTS_MULTIMODE_TESTMODECHANNELS_H_

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "host/sdk/HighPoly.h"
#include "multimode/MultiModeChannel.h"

// What every message of the template starts its function name with.
inline const std::string kMultiMode =
    "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::";

inline const std::vector<std::string>& Shown() { return globalEngine->ShowDebugMessage.Shown(); }

// A lamp with three modes, registered out of id order: 5 "Dim" (a value link,
// an unindexed text link, a vector link), 2 "Off" (a matrix link) and 9
// "Full" (value, any type, matrix, text). Logs the virtual calls of a switch.
class LightChannel : public MultiModeChannel<Aco_FloatChannel, LightChannel> {
 public:
  using MultiModeChannel::_currentMode;
  using MultiModeChannel::_loadedMode;
  using MultiModeChannel::_modeOrder;
  using MultiModeChannel::_refCount;
  using MultiModeChannel::GetPrefixedMessage;

  void InitializeModes() override {
    ++initializeCount;
    InitMode(5);
    CreateValueLink("Brightness", 1, false);
    CreateStringLink("Label", 2, true);
    CreateVectorLink("Direction", 3, false);
    AddMode(5, "Dim", "Dimmed light");
    InitMode(2);
    CreateMatrixLink("Transform", 1, false);
    AddMode(2, "Off", "Switched off");
    InitMode(9);
    CreateValueLink("Brightness", 1, false);
    CreateGenericLink("Target", 1, false);
    CreateMatrixLink("Transform", 1, false);
    CreateStringLink("Label", 1, false);
    AddMode(9, "Full", "Full power");
  }
  void ModeIsSet() override { calls.push_back("ModeIsSet"); }
  void SetAutoChannelName() override {
    calls.push_back("SetAutoChannelName");
    MultiModeChannel::SetAutoChannelName();
  }
  // The extension's own record of a link name, bypassing the mode's.
  const char* ExtensionLinkName(unsigned int link) {
    return ChannelExtension<Aco_FloatChannel>::GetChildLinkName(link);
  }

  static inline int initializeCount = 0;
  std::vector<std::string> calls;
};

// A channel whose InitializeModes runs `script`, for the set-up sequences a
// concrete class might get wrong. Logs what reaches SetChildLinkName.
class ScriptedChannel : public MultiModeChannel<Aco_FloatChannel, ScriptedChannel> {
 public:
  using MultiModeChannel::_tempLinks;
  using MultiModeChannel::CreateValueLink;
  using MultiModeChannel::InitMode;

  void InitializeModes() override {
    if (script) script(*this);
  }
  void SetChildLinkName(unsigned int link, const char* name) override {
    namedLinks.emplace_back(link, name != nullptr ? name : "(null)");
    MultiModeChannel::SetChildLinkName(link, name);
  }
  void CreateStringLink(const char* name) { MultiModeChannel::CreateStringLink(name, 1, false); }

  static inline std::function<void(ScriptedChannel&)> script;
  std::vector<std::pair<unsigned int, std::string>> namedLinks;
};

#endif  // QAX_TESTS_MULTIMODE_TESTMODECHANNELS_H_
