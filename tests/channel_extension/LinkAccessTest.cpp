// Binding to a channel, link checks and untyped child access.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel_extension/ChannelExtension.h"
#include "channel_extension/LinkTypes.h"
#include "host/sdk/HighPoly.h"
#include "tests/channel_extension/TestChannel.h"

namespace {

constexpr _GUID kOtherGuid = {0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 8}};

class LinkAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    channel_.CreateGenericLink("first", 1, false);
    channel_.CreateGenericLink("second", 1, false);
    channel_.CreateGenericLink("third", 1, false);
    globalEngine->ShowDebugMessage.Clear();
  }
  const std::vector<std::string>& Shown() const { return globalEngine->ShowDebugMessage.Shown(); }

  TestChannel channel_;
};

TEST_F(LinkAccess, IndexPastTheLinksIsReportedAsPlainMessage) {
  EXPECT_FALSE(channel_.CE_IsChildLinked(3));
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("InvalidlLinkIndex.Link[3]", Shown()[0]);
}

TEST_F(LinkAccess, HugeUnsignedIndicesAreInvalidAndShownSigned) {
  EXPECT_FALSE(channel_.CE_IsChildLinked(0x80000000u));
  EXPECT_EQ(nullptr, channel_.CE_GetLinkedChildName(0xFFFFFFFFu));
  EXPECT_FALSE(channel_.CE_CallChild(0xFFFFFFFEu));
  const std::vector<std::string> expected = {"InvalidlLinkIndex.Link[-2147483648]",
                                             "InvalidlLinkIndex.Link[-1]",
                                             "InvalidlLinkIndex.Link[-2]"};
  EXPECT_EQ(expected, Shown());
}

TEST_F(LinkAccess, EmptyLinkFailsSilently) {
  EXPECT_FALSE(channel_.CE_IsChildLinked(2));
  EXPECT_EQ(nullptr, channel_.CE_GetLinkedChildName(2));
  EXPECT_FALSE(channel_.CE_CallChild(2));
  D3DXVECTOR3 v = {1, 2, 3};
  EXPECT_FALSE(channel_.CE_GetVector(v, 2));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkAccess, LinkedChildIsSeenNamedAndCalled) {
  CountingChannel child;
  child.SetChannelName("Child");
  ASSERT_TRUE(channel_.LinkChild(1, &child));

  EXPECT_TRUE(channel_.CE_IsChildLinked(1));
  EXPECT_STREQ("Child", channel_.CE_GetLinkedChildName(1));
  EXPECT_EQ(&child, channel_._lastChild);
  EXPECT_TRUE(channel_.CE_CallChild(1));
  EXPECT_TRUE(channel_.CE_CallChild(1));
  EXPECT_EQ(2, child.calls);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkAccess, UnnamedChildGivesNullAndEmptyLinkForgetsTheLastChild) {
  CountingChannel child;
  ASSERT_TRUE(channel_.LinkChild(0, &child));
  EXPECT_EQ(nullptr, channel_.CE_GetLinkedChildName(0));
  EXPECT_EQ(&child, channel_._lastChild);

  EXPECT_FALSE(channel_.CE_CallChild(2));
  EXPECT_EQ(nullptr, channel_._lastChild);
  EXPECT_EQ(0, child.calls);
}

TEST_F(LinkAccess, TypeIsCheckedByBaseGuidNotTypeGuid) {
  // A vector child of its own type that names the value vector as its base.
  Aco_ValueVectorChannel derived;
  derived.SetChannelType(MakeType(kOtherGuid, kValueVectorLinkGuid));
  derived.SetVector({4, 5, 6});
  ASSERT_TRUE(channel_.LinkChild(0, &derived));
  D3DXVECTOR3 v = {0, 0, 0};
  EXPECT_TRUE(channel_.CE_GetVector(v, 0));
  EXPECT_EQ(5.0f, v.y);
  EXPECT_TRUE(Shown().empty());

  // Its type GUID names the value vector, its base does not.
  Aco_ValueVectorChannel pretender;
  pretender.SetChannelType(MakeType(kValueVectorLinkGuid, kOtherGuid));
  ASSERT_TRUE(channel_.LinkChild(2, &pretender));
  EXPECT_FALSE(channel_.CE_GetVector(v, 2));
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ(
      "ChannelExtension<class Aco_FloatChannel>::VerifyLink().ChannelBaseGuidMatch().Failed."
      "Link[2]",
      Shown()[0]);
}

TEST_F(LinkAccess, ChildOfTheRightBaseButAnotherClassFailsWithoutMessage) {
  A3d_Channel plain;
  plain.SetChannelType(MakeType(kValueVectorLinkGuid, kValueVectorLinkGuid));
  ASSERT_TRUE(channel_.LinkChild(0, &plain));
  D3DXVECTOR3 v = {7, 8, 9};
  EXPECT_FALSE(channel_.CE_GetVector(v, 0));
  EXPECT_EQ(7.0f, v.x);
  EXPECT_EQ(&plain, channel_._vectorChild);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkAccess, ChannelBaseGuidMatchComparesTheBaseGuid) {
  A3d_Channel ch;
  ch.SetChannelType(MakeType(kTextLinkGuid, kMatrixLinkGuid));
  EXPECT_TRUE(ChannelBaseGuidMatch(&ch, kMatrixLinkGuid));
  EXPECT_FALSE(ChannelBaseGuidMatch(&ch, kTextLinkGuid));
  // No special case for the any-type GUID.
  EXPECT_FALSE(ChannelBaseGuidMatch(&ch, kAnyTypeLinkGuid));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkAccess, NullChannelsAreReportedAndAnsweredSafely) {
  EXPECT_FALSE(ChannelBaseGuidMatch(nullptr, kTextLinkGuid));
  EXPECT_STREQ("", GetChannelGroupName(nullptr));
  A3d_Channel* const before = channel_._self;
  channel_.CE_SetSelf(nullptr);
  EXPECT_EQ(before, channel_._self);
  const std::vector<std::string> expected = {
      "ChannelBaseGuidMatch().ch", "GetChannelGroupName().ch",
      "ChannelExtension<class Aco_FloatChannel>::CE_SetSelf().self"};
  EXPECT_EQ(expected, Shown());
}

TEST_F(LinkAccess, UnboundExtensionHasNoValidLink) {
  TestChannel::Extension unbound;
  EXPECT_FALSE(unbound.CE_IsChildLinked(0));
  EXPECT_STREQ("[no-name]", unbound.CE_GetOwnName());
  EXPECT_STREQ("[no-name]", unbound.CE_GetOwnCGRName());
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("InvalidlLinkIndex.Link[0]", Shown()[0]);
}

// Binding and own names.

class OwnNames : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
  const std::vector<std::string>& Shown() const { return globalEngine->ShowDebugMessage.Shown(); }

  TestChannel channel_;
};

TEST_F(OwnNames, ChannelWithoutNameOrGroupAnswersNoName) {
  EXPECT_STREQ("[no-name]", channel_.CE_GetOwnName());
  EXPECT_EQ("", channel_._cgrName);
  EXPECT_STREQ("[no-name]", channel_.CE_GetOwnCGRName());
  EXPECT_STREQ("", GetChannelGroupName(&channel_));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(OwnNames, GroupNameIsTakenWhenBound) {
  A3d_ChannelGroup group("Scene");
  channel_.SetChannelGroup(&group);
  channel_.SetChannelName("Mine");
  EXPECT_STREQ("Mine", channel_.CE_GetOwnName());
  // Taken at binding only.
  EXPECT_STREQ("[no-name]", channel_.CE_GetOwnCGRName());
  channel_.CE_SetSelf(&channel_);
  EXPECT_STREQ("Scene", channel_.CE_GetOwnCGRName());
  EXPECT_STREQ("Scene", GetChannelGroupName(&channel_));
}

TEST_F(OwnNames, GroupWithoutNameGivesUnknown) {
  A3d_ChannelGroup group(nullptr);
  channel_.SetChannelGroup(&group);
  EXPECT_EQ(nullptr, GetChannelGroupName(&channel_));
  channel_.CE_SetSelf(&channel_);
  EXPECT_EQ("[unknown]", channel_._cgrName);
  EXPECT_STREQ("[unknown]", channel_.CE_GetOwnCGRName());
  EXPECT_TRUE(Shown().empty());
}

}  // namespace
