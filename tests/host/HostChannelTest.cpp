// The stand-in host channel: declared links and child slots, names, copies,
// its own file record and the built-in value channels.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "host/sdk/HighPoly.h"

namespace {

ChildCreation Named(const char* name) {
  ChildCreation record;
  std::strncpy(record.LinkName, name, sizeof(record.LinkName) - 1);
  return record;
}

class HostChannel : public ::testing::Test {};

TEST_F(HostChannel, NewChildCreationCarriesTheHostDefaults) {
  const ChildCreation record;
  const _GUID any = {0x11111111, 0x1111, 0x1111, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}};
  EXPECT_TRUE(GuidEquals(any, record.Type.TypeGuid));
  EXPECT_TRUE(GuidEquals(any, record.Type.BaseGuid));
  EXPECT_EQ(0, record.Type.Name[0]);
  EXPECT_EQ(-1, record.Index);
  EXPECT_EQ(0, record.Flag1);
  EXPECT_EQ(0, record.Flag2);
  EXPECT_EQ(0, record.LinkName[0]);
  EXPECT_TRUE(GuidEquals(_GUID{}, record.ExtraGuid));
  EXPECT_EQ(0, record.ExtraInt);
  EXPECT_EQ(1, record.LinkParam);
}

TEST_F(HostChannel, DeclaringAtTheCountAppendsAndBelowReplaces) {
  A3d_Channel channel;
  channel.SetChildCreateType(Named("a"), 0);
  channel.SetChildCreateType(Named("b"), 1);
  channel.SetChildCreateType(Named("c"), 5);   // beyond the end: ignored
  channel.SetChildCreateType(Named("c"), -1);  // ignored
  ASSERT_EQ(2, channel.GetChildCount());
  Aco_FloatChannel child;
  ASSERT_TRUE(channel.LinkChild(0, &child));
  channel.SetChildCreateType(Named("A"), 0);
  EXPECT_STREQ("A", channel.GetChildCreation(0)->LinkName);
  EXPECT_EQ(&child, channel.GetChild(0));
  EXPECT_EQ(nullptr, channel.GetChild(1));
  EXPECT_EQ(nullptr, channel.GetChild(2));
  EXPECT_EQ(nullptr, channel.GetChildCreation(2));
  EXPECT_FALSE(channel.LinkChild(2, &child));
}

TEST_F(HostChannel, ResettingTheCreationCountForgetsLinksAndChildren) {
  A3d_Channel channel;
  channel.SetChildCreateType(Named("a"), 0);
  Aco_FloatChannel child;
  channel.LinkChild(0, &child);
  channel.SetChildCreationCount(0);
  EXPECT_EQ(0, channel.GetChildCount());
  EXPECT_EQ(nullptr, channel.GetChild(0));
}

TEST_F(HostChannel, NoChannelDeclaresMoreThanTheLinkLimit) {
  A3d_Channel channel;
  for (int i = 0; i <= A3d_Channel::kMaxChildLinks; ++i) channel.SetChildCreateType(Named("x"), i);
  EXPECT_EQ(A3d_Channel::kMaxChildLinks, channel.GetChildCount());
}

TEST_F(HostChannel, CopiesShareChildrenButNotDeclarations) {
  A3d_Channel channel;
  channel.SetChannelName("source");
  channel.SetChildCreateType(Named("a"), 0);
  Aco_FloatChannel child;
  channel.LinkChild(0, &child);
  A3d_Channel copy(channel);
  copy.SetChildCreationCount(0);
  EXPECT_EQ(1, channel.GetChildCount());
  EXPECT_EQ(&child, channel.GetChild(0));
  EXPECT_STREQ("source", copy.GetChannelName());
}

TEST_F(HostChannel, NameIsNullUntilSetAndCanBeRemoved) {
  A3d_Channel channel;
  EXPECT_EQ(nullptr, channel.GetChannelName());
  channel.SetChannelName("");
  EXPECT_STREQ("", channel.GetChannelName());
  channel.SetChannelName(channel.GetChannelName());
  EXPECT_STREQ("", channel.GetChannelName());
  channel.SetChannelName(nullptr);
  EXPECT_EQ(nullptr, channel.GetChannelName());
}

TEST_F(HostChannel, SavesAndLoadsItsNameRecordKeepingNoNameApartFromEmpty) {
  for (const char* name : {static_cast<const char*>(nullptr), "", "Scene light"}) {
    A3d_Channel source;
    source.SetChannelName(name);
    A3dFileSaver saver;
    ASSERT_TRUE(source.SaveChannel(saver));
    EXPECT_TRUE(saver.Ok());
    A3d_Channel target;
    target.SetChannelName("before");
    A3d_ChannelGroup group("G");
    A3dFileLoader loader(saver.Data());
    ASSERT_TRUE(target.LoadChannel(loader, &group));
    EXPECT_TRUE(loader.AtEnd());
    EXPECT_EQ(&group, target.GetChannelGroup());
    if (name == nullptr) {
      EXPECT_EQ(nullptr, target.GetChannelName());
    } else {
      EXPECT_STREQ(name, target.GetChannelName());
    }
  }
}

TEST_F(HostChannel, LoadFailsWithoutItsRecordAndSaveFailsWhenRefused) {
  A3d_Channel channel;
  channel.SetChannelName("kept");
  A3dFileLoader loader(nullptr, 0);
  EXPECT_FALSE(channel.LoadChannel(loader, nullptr));
  EXPECT_STREQ("kept", channel.GetChannelName());
  A3dFileSaver saver;
  saver.RefuseTag(A3d_Channel::kNameTag);
  EXPECT_FALSE(channel.SaveChannel(saver));
  EXPECT_TRUE(saver.Data().empty());
}

TEST_F(HostChannel, BuiltInChannelsCarryTheirTypes) {
  EXPECT_STREQ("Value", Aco_FloatChannel().GetChannelType().Name);
  EXPECT_STREQ("Text", Aco_StringChannel().GetChannelType().Name);
  EXPECT_STREQ("Value Vector", Aco_ValueVectorChannel().GetChannelType().Name);
  EXPECT_STREQ("Matrix", Aco_MatrixChannel().GetChannelType().Name);
  EXPECT_EQ("{BE69CCC4-CFC1-4362-AC81-767D199BBFC3}",
            GuidToString(Aco_FloatChannel().GetChannelType().BaseGuid));
  EXPECT_EQ("{6E6FB247-4627-4FBE-8973-48344F23881E}",
            GuidToString(Aco_StringChannel().GetChannelType().TypeGuid));
  EXPECT_EQ("{9D045960-EAC2-4C40-9BBF-10F32F7FA305}",
            GuidToString(Aco_ValueVectorChannel().GetChannelType().BaseGuid));
  EXPECT_EQ("{2F605354-314D-4775-86E4-1F733550B227}",
            GuidToString(Aco_MatrixChannel().GetChannelType().BaseGuid));
}

TEST_F(HostChannel, StringChannelKeepsNullAndEmptyApartForBothWidths) {
  Aco_StringChannel text;
  EXPECT_EQ(nullptr, text.GetString());
  EXPECT_EQ(nullptr, text.GetWString());
  text.SetString("");
  EXPECT_STREQ("", text.GetString());
  EXPECT_EQ(nullptr, text.GetWString());
  text.SetWString(L"w");
  EXPECT_STREQ(L"w", text.GetWString());
  text.SetString(nullptr);
  EXPECT_EQ(nullptr, text.GetString());
  EXPECT_STREQ(L"w", text.GetWString());
}

TEST_F(HostChannel, GuidTextRoundTripsAndRejectsMalformedText) {
  _GUID guid{};
  ASSERT_TRUE(GuidFromString("{6b9bde34-8ac5-11df-94aa-11f5ded72085}", &guid));
  EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}", GuidToString(guid));
  const _GUID before = guid;
  EXPECT_FALSE(GuidFromString("{6B9BDE34-8AC5-11DF-94AA-11F5DED7208}", &guid));
  EXPECT_FALSE(GuidFromString("6B9BDE34x8AC5-11DF-94AA-11F5DED72085", &guid));
  EXPECT_FALSE(GuidFromString("{6B9BDE34-8AC5-11DF-94AA-11F5DED7208G}", &guid));
  EXPECT_TRUE(GuidEquals(before, guid));
}

TEST_F(HostChannel, DependenciesAreListedInOrder) {
  A3d_Channel channel;
  A3d_List list;
  channel.AddChannelGuidDepend(Aco_FloatChannel::kTypeGuid, &list);
  channel.AddDLLDepend("QAX.dll", &list);
  Core::CoreEngine::DoDependencyInit(&channel, &list);
  channel.AddDLLDepend("ignored", nullptr);
  ASSERT_EQ(3u, list.Entries().size());
  EXPECT_EQ(A3d_List::Entry::Kind::ChannelGuid, list.Entries()[0].kind);
  EXPECT_TRUE(GuidEquals(Aco_FloatChannel::kTypeGuid, list.Entries()[0].guid));
  EXPECT_EQ("QAX.dll", list.Entries()[1].dllName);
  EXPECT_EQ(A3d_List::Entry::Kind::Core, list.Entries()[2].kind);
}

TEST_F(HostChannel, DebugMessagesAreKeptInOrderAndForwarded) {
  DebugMessageDisplay display;
  std::string forwarded;
  display.SetHandler([&forwarded](const char* text) { forwarded += text; });
  display("one");
  display(nullptr);
  display("two");
  ASSERT_EQ(3u, display.Shown().size());
  EXPECT_EQ("", display.Shown()[1]);
  EXPECT_EQ("onetwo", forwarded);
  for (std::size_t i = 0; i < DebugMessageDisplay::kMaxKept + 5; ++i) display("x");
  EXPECT_EQ(DebugMessageDisplay::kMaxKept, display.Shown().size());
}

}  // namespace
