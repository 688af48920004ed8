// Channels for the channel extension's tests: a float channel with the
// extension as its second base, and children that record how they are used.
#ifndef QAX_TESTS_CHANNEL_EXTENSION_TESTCHANNEL_H_
#define QAX_TESTS_CHANNEL_EXTENSION_TESTCHANNEL_H_

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel_extension/ChannelExtension.h"
#include "host/sdk/HighPoly.h"

// A float channel served by its own extension, with the protected members
// made public. Link creation is recorded on its way through the virtual
// interface, so that tests see what the wrappers pass on and in which order.
class TestChannel : public Aco_FloatChannel, public ChannelExtension<Aco_FloatChannel> {
 public:
  using Extension = ChannelExtension<Aco_FloatChannel>;

  struct CreateLinkCall {
    _GUID typeGuid;
    std::string typeName;
    std::string name;
    int linkParam;
    bool unindexed;
  };
  struct SetNameCall {
    unsigned int link;
    std::string name;
    int childCountThen;  // the channel's link count when the name was set
  };

  TestChannel() { CE_SetSelf(this); }

  void CreateLink(_GUID typeGuid, const char* typeName, const char* name, int linkParam,
                  bool unindexed) override {
    createLinkCalls.push_back({typeGuid, typeName != nullptr ? typeName : "<null>",
                               name != nullptr ? name : "<null>", linkParam, unindexed});
    Extension::CreateLink(typeGuid, typeName, name, linkParam, unindexed);
  }
  void SetChildLinkName(unsigned int link, const char* name) override {
    setNameCalls.push_back({link, name != nullptr ? name : "<null>", GetChildCount()});
    Extension::SetChildLinkName(link, name);
  }
  using Extension::GetChildLinkName;

  using Extension::CreateGenericLink;
  using Extension::CreateMatrixLink;
  using Extension::CreateStringLink;
  using Extension::CreateValueLink;
  using Extension::CreateVectorLink;
  using Extension::GetChildLinkErrorText;
  using Extension::GetChildLinkInvalidText;
  using Extension::ReadChannelValue;
  using Extension::SaveChannelValue;

  using Extension::_lastChild;
  using Extension::_linkNames;
  using Extension::_self;

  std::vector<CreateLinkCall> createLinkCalls;
  std::vector<SetNameCall> setNameCalls;
};

// A child that counts its evaluations.
class CountingChannel : public A3d_Channel {
 public:
  void CallChannel() override { ++calls; }
  int calls = 0;
};

// A channel type record with the given type and base GUIDs.
inline ChannelType MakeType(const _GUID& typeGuid, const _GUID& baseGuid) {
  ChannelType type;
  type.TypeGuid = typeGuid;
  type.BaseGuid = baseGuid;
  return type;
}

// The prefix of the messages the float channel's extension shows.
inline std::string ExtensionMessage(const std::string& tail) {
  return "ChannelExtension<class Aco_FloatChannel>::" + tail;
}

// A test channel with the engine's message log emptied before each test.
class ExtensionTest : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
  const std::vector<std::string>& Shown() const { return globalEngine->ShowDebugMessage.Shown(); }

  TestChannel channel_;
};

#endif  // QAX_TESTS_CHANNEL_EXTENSION_TESTCHANNEL_H_
