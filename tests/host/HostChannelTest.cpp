// The stand-in host channel: declared links and child slots, names, copies,
// its own file record and the built-in value channels.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/HighPoly.h"

namespace {

ChildCreation Named(const char* name) {
  ChildCreation record;
  std::strncpy(record.LinkName, name, sizeof(record.LinkName) - 1);
  return record;
}

TEST(HostChannel, DeclaringAtTheCountAppendsBelowReplacesAndResettingForgets) {
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

  channel.SetChildCreationCount(0);
  EXPECT_EQ(0, channel.GetChildCount());
  EXPECT_EQ(nullptr, channel.GetChild(0));
}

TEST(HostChannel, NoChannelDeclaresMoreThanTheLinkLimit) {
  A3d_Channel channel;
  for (int i = 0; i <= A3d_Channel::kMaxChildLinks; ++i) channel.SetChildCreateType(Named("x"), i);
  EXPECT_EQ(A3d_Channel::kMaxChildLinks, channel.GetChildCount());
}

TEST(HostChannel, CopiesShareChildrenButNotDeclarations) {
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

TEST(HostChannel, NameIsNullUntilSetAndCanBeSetToItselfOrRemoved) {
  A3d_Channel channel;
  EXPECT_EQ(nullptr, channel.GetChannelName());
  channel.SetChannelName("abc");
  channel.SetChannelName(channel.GetChannelName());
  EXPECT_STREQ("abc", channel.GetChannelName());
  channel.SetChannelName(nullptr);
  EXPECT_EQ(nullptr, channel.GetChannelName());
}

TEST(HostChannel, SavesAndLoadsItsNameRecordKeepingNoNameApartFromEmpty) {
  for (const char* name : {static_cast<const char*>(nullptr), "", "Scene light"}) {
    SCOPED_TRACE(name != nullptr ? name : "<null>");
    A3d_Channel source;
    source.SetChannelName(name);
    A3dFileSaver saver;
    ASSERT_TRUE(source.SaveChannel(saver));
    A3d_Channel target;
    target.SetChannelName("before");
    A3d_ChannelGroup group("G");
    A3dFileLoader loader(saver.Data());
    ASSERT_TRUE(target.LoadChannel(loader, &group));
    EXPECT_TRUE(loader.AtEnd());
    EXPECT_EQ(&group, target.GetChannelGroup());
    EXPECT_EQ(name == nullptr, target.GetChannelName() == nullptr);
    if (name != nullptr) {
      EXPECT_STREQ(name, target.GetChannelName());
    }
  }
}

TEST(HostChannel, LoadFailsWithoutItsRecordAndSaveFailsWhenRefused) {
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

TEST(HostChannel, GuidTextRoundTripsAndRejectsMalformedText) {
  _GUID guid{};
  ASSERT_TRUE(GuidFromString("{6b9bde34-8ac5-11df-94aa-11f5ded72085}", &guid));
  EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}", GuidToString(guid));
  const _GUID before = guid;
  EXPECT_FALSE(GuidFromString("{6B9BDE34-8AC5-11DF-94AA-11F5DED7208}", &guid));
  EXPECT_FALSE(GuidFromString("6B9BDE34x8AC5-11DF-94AA-11F5DED72085", &guid));
  EXPECT_FALSE(GuidFromString("{6B9BDE34-8AC5-11DF-94AA-11F5DED7208G}", &guid));
  EXPECT_TRUE(GuidEquals(before, guid));
}

TEST(HostChannel, DebugMessagesAreKeptInOrderAndForwarded) {
  DebugMessageDisplay display;
  std::string forwarded;
  display.SetHandler([&forwarded](const char* text) { forwarded += text; });
  display("one");
  display(nullptr);
  display("two");
  EXPECT_EQ(std::vector<std::string>({"one", "", "two"}), display.Shown());
  EXPECT_EQ("onetwo", forwarded);
  for (std::size_t i = 0; i < DebugMessageDisplay::kMaxKept + 5; ++i) display("x");
  EXPECT_EQ(DebugMessageDisplay::kMaxKept, display.Shown().size());
}

}  // namespace
