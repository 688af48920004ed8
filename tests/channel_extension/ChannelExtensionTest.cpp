// Link creation, the link name table, binding and own names, link checks,
// untyped child access, CopyFieldText and copying the extension.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel_extension/ChannelExtension.h"
#include "channel_extension/LinkTypes.h"
#include "host/sdk/HighPoly.h"
#include "tests/channel_extension/TestChannel.h"

namespace {

constexpr _GUID kOtherGuid = {0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 8}};

using LinkTable = ExtensionTest;

TEST_F(LinkTable, NewLinkGoesBehindTheExistingOnesNameFirst) {
  channel_.CreateValueLink("a", 1, false);
  channel_.CreateStringLink("b", 1, true);
  channel_.setNameCalls.clear();

  channel_.CreateVectorLink("d", 7, false);

  ASSERT_EQ(3, channel_.GetChildCount());
  // The name is recorded under 2 while the channel still has two links.
  ASSERT_EQ(1u, channel_.setNameCalls.size());
  EXPECT_EQ(2u, channel_.setNameCalls[0].link);
  EXPECT_EQ(2, channel_.setNameCalls[0].childCountThen);

  const ChildCreation* record = channel_.GetChildCreation(2);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(2, record->Index);
  EXPECT_STREQ("d", record->LinkName);
  EXPECT_STREQ("Value Vector", record->Type.Name);
  EXPECT_EQ(7, record->LinkParam);
  // An unindexed link has index -1 but still takes its position.
  ASSERT_NE(nullptr, channel_.GetChildCreation(1));
  EXPECT_EQ(-1, channel_.GetChildCreation(1)->Index);
  EXPECT_STREQ("b", channel_.GetChildLinkName(1));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkTable, EachWrapperPassesItsKindsGuidAndTypeNameBeforeTheLinkName) {
  struct Kind {
    void (*create)(TestChannel&);
    const char* guid;  // the host's channel type of the kind
    const char* typeName;
  };
  const Kind kinds[] = {
      {[](TestChannel& c) { c.CreateValueLink("link", 2, false); },
       "{BE69CCC4-CFC1-4362-AC81-767D199BBFC3}", "Value"},
      {[](TestChannel& c) { c.CreateVectorLink("link", 2, false); },
       "{9D045960-EAC2-4C40-9BBF-10F32F7FA305}", "Value Vector"},
      {[](TestChannel& c) { c.CreateStringLink("link", 2, false); },
       "{6E6FB247-4627-4FBE-8973-48344F23881E}", "Text"},
      {[](TestChannel& c) { c.CreateMatrixLink("link", 2, false); },
       "{2F605354-314D-4775-86E4-1F733550B227}", "Matrix"},
      {[](TestChannel& c) { c.CreateGenericLink("link", 2, false); },
       "{11111111-1111-1111-1111-111111111111}", "all types are accepted"},
  };
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.typeName);
    channel_.createLinkCalls.clear();
    kind.create(channel_);
    ASSERT_EQ(1u, channel_.createLinkCalls.size());
    const TestChannel::CreateLinkCall& call = channel_.createLinkCalls[0];
    EXPECT_EQ(kind.guid, GuidToString(call.typeGuid));
    EXPECT_EQ(kind.typeName, call.typeName);
    EXPECT_EQ("link", call.name);
    EXPECT_EQ(2, call.linkParam);
    EXPECT_FALSE(call.unindexed);
  }
  EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}", GuidToString(kOntologyItemLinkGuid));
  EXPECT_STREQ("QAXOntologyItem", kOntologyItemLinkTypeName);
}

TEST_F(LinkTable, TypeAndLinkNamesAreStoredVerbatimCutToTheirRecordFields) {
  const std::string longType(200, 't');
  const std::string longName(200, 'n');
  struct Case {
    const char* typeName;
    const char* name;
    std::string recordType, recordName, tableName;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {"T%s%d", "N%s\\", "T%s%d", "N%s\\", "N%s\\", {}},
      // The name table keeps the whole name.
      {longType.c_str(),
       longName.c_str(),
       std::string(79, 't'),
       std::string(99, 'n'),
       longName,
       {}},
      {nullptr,
       nullptr,
       "",
       "",
       "",
       {ExtensionMessage("CreateLink().TypeName"), ExtensionMessage("CreateLink().Name")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.recordName);
    TestChannel channel;
    globalEngine->ShowDebugMessage.Clear();
    channel.CreateLink(kValueLinkGuid, c.typeName, c.name, 1, false);
    const ChildCreation* record = channel.GetChildCreation(0);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(c.recordType, record->Type.Name);
    EXPECT_EQ(c.recordName, record->LinkName);
    EXPECT_EQ(c.tableName, channel.GetChildLinkName(0));
    EXPECT_EQ(c.shown, Shown());
  }
}

TEST_F(LinkTable, NameTableFillsGapsWithNoneAndRecordsAskedForLinksAsEmpty) {
  channel_.SetChildLinkName(3, "three");
  channel_.SetChildLinkName(1, "one");
  EXPECT_STREQ("", channel_.GetChildLinkName(5));
  const std::vector<std::string> expected = {"[none]", "one", "[none]", "three", "[none]", ""};
  EXPECT_EQ(expected, channel_._linkNames);
  // Through the virtual interface, so a deriving class sees it.
  ASSERT_EQ(3u, channel_.setNameCalls.size());
  EXPECT_EQ(5u, channel_.setNameCalls[2].link);

  channel_.SetChildLinkName(1, nullptr);
  EXPECT_STREQ("", channel_.GetChildLinkName(1));
  EXPECT_EQ(std::vector<std::string>{ExtensionMessage("SetChildLinkName().name")}, Shown());
}

TEST_F(LinkTable, HugeLinkIndexIsReportedAndDoesNotGrowTheTable) {
  channel_.SetChildLinkName(0xFFFFFFFFu, "x");
  EXPECT_STREQ("", channel_.GetChildLinkName(0x80000000u));
  EXPECT_TRUE(channel_._linkNames.empty());
  // Reported again when asked for: asking records the link as empty.
  EXPECT_EQ(
      std::vector<std::string>(2, ExtensionMessage("SetChildLinkName().link < kMaxLinkNames")),
      Shown());
}

TEST_F(LinkTable, NamesOutliveAResetOfTheHostLinks) {
  channel_.CreateValueLink("a", 1, false);
  channel_.CreateValueLink("b", 1, false);
  channel_.SetChildCreationCount(0);
  channel_.CreateValueLink("c", 1, false);
  EXPECT_STREQ("c", channel_.GetChildLinkName(0));
  EXPECT_STREQ("b", channel_.GetChildLinkName(1));
}

TEST_F(LinkTable, ErrorAndInvalidTextsUseTheLinkName) {
  channel_.CreateValueLink("speed", 1, false);
  EXPECT_EQ("ChildLinkError[speed]", channel_.GetChildLinkErrorText(0));
  EXPECT_EQ("ChildLinkInvalid[speed]", channel_.GetChildLinkInvalidText(0));
  EXPECT_EQ("ChildLinkError[]", channel_.GetChildLinkErrorText(3));
}

TEST_F(LinkTable, WithoutAServedChannelNoLinkIsDeclared) {
  channel_._self = nullptr;
  channel_.CreateValueLink("a", 1, false);
  EXPECT_EQ(0, channel_.GetChildCount());
  EXPECT_EQ(std::vector<std::string>{ExtensionMessage("CreateLink()._self")}, Shown());
}

TEST_F(LinkTable, CopyServesTheSourceChannelUntilRebound) {
  channel_.CreateValueLink("a", 1, false);
  channel_.SetChildLinkName(2, "c");

  TestChannel copy(channel_);  // Aco_FloatChannel copies, the extension copies
  EXPECT_EQ(&channel_, copy._self);
  copy.CE_SetSelf(&copy);
  EXPECT_EQ(&copy, copy._self);
  const std::vector<std::string> expected = {"a", "[none]", "c"};
  EXPECT_EQ(expected, copy._linkNames);
}

TEST_F(LinkTable, OwnGroupNameIsTakenWhenBound) {
  EXPECT_STREQ("[no-name]", channel_.CE_GetOwnName());
  EXPECT_STREQ("[no-name]", channel_.CE_GetOwnCGRName());

  A3d_ChannelGroup group("Scene");
  channel_.SetChannelGroup(&group);
  channel_.SetChannelName("Mine");
  EXPECT_STREQ("Mine", channel_.CE_GetOwnName());
  EXPECT_STREQ("[no-name]", channel_.CE_GetOwnCGRName());  // taken at binding only
  channel_.CE_SetSelf(&channel_);
  EXPECT_STREQ("Scene", channel_.CE_GetOwnCGRName());

  A3d_ChannelGroup unnamed(nullptr);
  channel_.SetChannelGroup(&unnamed);
  EXPECT_EQ(nullptr, GetChannelGroupName(&channel_));
  channel_.CE_SetSelf(&channel_);
  EXPECT_STREQ("[unknown]", channel_.CE_GetOwnCGRName());
  EXPECT_TRUE(Shown().empty());
}

// Link checks and untyped child access, on three generic links.
class LinkAccess : public ExtensionTest {
 protected:
  void SetUp() override {
    channel_.CreateGenericLink("first", 1, false);
    channel_.CreateGenericLink("second", 1, false);
    channel_.CreateGenericLink("third", 1, false);
    ExtensionTest::SetUp();
  }
};

TEST_F(LinkAccess, IndicesPastTheLinksAreReportedSigned) {
  EXPECT_FALSE(channel_.CE_IsChildLinked(3));
  EXPECT_FALSE(channel_.CE_IsChildLinked(0x80000000u));
  EXPECT_EQ(nullptr, channel_.CE_GetLinkedChildName(0xFFFFFFFFu));
  EXPECT_FALSE(channel_.CE_CallChild(0xFFFFFFFEu));
  const std::vector<std::string> expected = {
      "InvalidlLinkIndex.Link[3]", "InvalidlLinkIndex.Link[-2147483648]",
      "InvalidlLinkIndex.Link[-1]", "InvalidlLinkIndex.Link[-2]"};
  EXPECT_EQ(expected, Shown());
}

TEST_F(LinkAccess, LinkedChildIsSeenNamedAndCalled) {
  CountingChannel child;
  child.SetChannelName("Child");
  ASSERT_TRUE(channel_.LinkChild(1, &child));

  EXPECT_TRUE(channel_.CE_IsChildLinked(1));
  EXPECT_STREQ("Child", channel_.CE_GetLinkedChildName(1));
  EXPECT_TRUE(channel_.CE_CallChild(1));
  EXPECT_TRUE(channel_.CE_CallChild(1));
  EXPECT_EQ(2, child.calls);
  EXPECT_EQ(&child, channel_._lastChild);
  child.SetChannelName(nullptr);
  EXPECT_EQ(nullptr, channel_.CE_GetLinkedChildName(1));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkAccess, EmptyLinkFailsSilentlyAndForgetsTheLastChild) {
  CountingChannel child;
  ASSERT_TRUE(channel_.LinkChild(0, &child));
  ASSERT_TRUE(channel_.CE_IsChildLinked(0));

  EXPECT_FALSE(channel_.CE_IsChildLinked(2));
  EXPECT_EQ(nullptr, channel_.CE_GetLinkedChildName(2));
  EXPECT_FALSE(channel_.CE_CallChild(2));
  EXPECT_EQ(nullptr, channel_._lastChild);
  D3DXVECTOR3 v = {1, 2, 3};
  EXPECT_FALSE(channel_.CE_GetVector(v, 2));
  EXPECT_EQ(0, child.calls);
  EXPECT_TRUE(Shown().empty());
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

  // Its type GUID names the value vector, its base does not.
  Aco_ValueVectorChannel pretender;
  pretender.SetChannelType(MakeType(kValueVectorLinkGuid, kOtherGuid));
  ASSERT_TRUE(channel_.LinkChild(2, &pretender));
  EXPECT_FALSE(channel_.CE_GetVector(v, 2));
  EXPECT_EQ(std::vector<std::string>{ExtensionMessage(
                "VerifyLink().ChannelBaseGuidMatch().Failed.Link[2]")},
            Shown());

  // No special case for the any-type GUID.
  EXPECT_FALSE(ChannelBaseGuidMatch(&derived, kAnyTypeLinkGuid));
}

TEST_F(LinkAccess, ChildOfTheRightBaseButAnotherClassFailsWithoutMessage) {
  A3d_Channel plain;
  plain.SetChannelType(MakeType(kValueVectorLinkGuid, kValueVectorLinkGuid));
  ASSERT_TRUE(channel_.LinkChild(0, &plain));
  D3DXVECTOR3 v = {7, 8, 9};
  EXPECT_FALSE(channel_.CE_GetVector(v, 0));
  EXPECT_EQ(7.0f, v.x);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkAccess, NullChannelsAreReportedAndAnsweredSafely) {
  EXPECT_FALSE(ChannelBaseGuidMatch(nullptr, kTextLinkGuid));
  EXPECT_STREQ("", GetChannelGroupName(nullptr));
  A3d_Channel* const before = channel_._self;
  channel_.CE_SetSelf(nullptr);
  EXPECT_EQ(before, channel_._self);

  TestChannel::Extension unbound;
  EXPECT_FALSE(unbound.CE_IsChildLinked(0));
  EXPECT_STREQ("[no-name]", unbound.CE_GetOwnName());
  const std::vector<std::string> expected = {
      "ChannelBaseGuidMatch().ch", "GetChannelGroupName().ch",
      ExtensionMessage("CE_SetSelf().self"), "InvalidlLinkIndex.Link[0]"};
  EXPECT_EQ(expected, Shown());
}

TEST(FieldText, KeepsWhatFitsWithTheTerminatorAndNeverOverruns) {
  for (std::size_t size : {std::size_t{80}, std::size_t{100}}) {
    SCOPED_TRACE(size);
    std::vector<char> field(size + 8, '#');
    const std::string text(size + 20, 'x');
    CopyFieldText(field.data(), size, text.c_str());
    EXPECT_EQ(std::string(size - 1, 'x'), std::string(field.data()));
    EXPECT_EQ(std::vector<char>(8, '#'), std::vector<char>(field.begin() + size, field.end()));
  }
  char field[4] = {'a', 'b', 'c', 'd'};
  CopyFieldText(field, 0, "xyz");
  EXPECT_EQ('a', field[0]);
  CopyFieldText(field, 1, "xyz");
  EXPECT_EQ('\0', field[0]);
  EXPECT_EQ('b', field[1]);
  CopyFieldText(field, sizeof(field), nullptr);
  EXPECT_STREQ("", field);
  CopyFieldText(nullptr, 10, "xyz");  // must not crash
}

}  // namespace
