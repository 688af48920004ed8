// Link creation, the link name table, CopyFieldText and copying the extension.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel_extension/ChannelExtension.h"
#include "channel_extension/LinkTypes.h"
#include "host/sdk/HighPoly.h"
#include "tests/channel_extension/TestChannel.h"

namespace {

class LinkTable : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
  const std::vector<std::string>& Shown() const { return globalEngine->ShowDebugMessage.Shown(); }

  TestChannel channel_;
};

TEST_F(LinkTable, NewLinkGoesBehindTheExistingOnesNameFirst) {
  channel_.CreateValueLink("a", 1, false);
  channel_.CreateValueLink("b", 1, false);
  channel_.CreateValueLink("c", 1, false);
  channel_.setNameCalls.clear();

  channel_.CreateVectorLink("d", 7, false);

  ASSERT_EQ(4, channel_.GetChildCount());
  // The name is recorded under 3 while the channel still has three links.
  ASSERT_EQ(1u, channel_.setNameCalls.size());
  EXPECT_EQ(3u, channel_.setNameCalls[0].link);
  EXPECT_EQ("d", channel_.setNameCalls[0].name);
  EXPECT_EQ(3, channel_.setNameCalls[0].childCountThen);

  const ChildCreation* record = channel_.GetChildCreation(3);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(3, record->Index);
  EXPECT_STREQ("d", record->LinkName);
  EXPECT_STREQ("Value Vector", record->Type.Name);
  EXPECT_TRUE(GuidEquals(kValueVectorLinkGuid, record->Type.TypeGuid));
  EXPECT_EQ(7, record->LinkParam);
  EXPECT_STREQ("d", channel_.GetChildLinkName(3));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkTable, UnindexedLinkHasIndexMinusOneButStillTakesThePosition) {
  channel_.CreateValueLink("a", 1, false);
  channel_.CreateStringLink("b", 1, true);

  const ChildCreation* record = channel_.GetChildCreation(1);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(-1, record->Index);
  EXPECT_STREQ("b", channel_.GetChildLinkName(1));
}

TEST_F(LinkTable, EachWrapperPassesItsKindTypeNameBeforeTheLinkName) {
  struct Kind {
    void (*create)(TestChannel&);
    _GUID guid;
    const char* typeName;
  };
  const Kind kinds[] = {
      {[](TestChannel& c) { c.CreateValueLink("link", 2, false); }, kValueLinkGuid, "Value"},
      {[](TestChannel& c) { c.CreateVectorLink("link", 2, false); }, kValueVectorLinkGuid,
       "Value Vector"},
      {[](TestChannel& c) { c.CreateStringLink("link", 2, false); }, kTextLinkGuid, "Text"},
      {[](TestChannel& c) { c.CreateMatrixLink("link", 2, false); }, kMatrixLinkGuid, "Matrix"},
      {[](TestChannel& c) { c.CreateGenericLink("link", 2, false); }, kAnyTypeLinkGuid,
       "all types are accepted"},
  };
  for (const Kind& kind : kinds) {
    channel_.createLinkCalls.clear();
    kind.create(channel_);
    ASSERT_EQ(1u, channel_.createLinkCalls.size()) << kind.typeName;
    const TestChannel::CreateLinkCall& call = channel_.createLinkCalls[0];
    EXPECT_TRUE(GuidEquals(kind.guid, call.typeGuid)) << kind.typeName;
    EXPECT_EQ(kind.typeName, call.typeName);
    EXPECT_EQ("link", call.name);
    EXPECT_EQ(2, call.linkParam);
    EXPECT_FALSE(call.unindexed);
  }
  EXPECT_EQ(5, channel_.GetChildCount());
}

TEST_F(LinkTable, LinkTypeGuidsHaveTheirRegistryForms) {
  EXPECT_EQ("{BE69CCC4-CFC1-4362-AC81-767D199BBFC3}", GuidToString(kValueLinkGuid));
  EXPECT_EQ("{9D045960-EAC2-4C40-9BBF-10F32F7FA305}", GuidToString(kValueVectorLinkGuid));
  EXPECT_EQ("{6E6FB247-4627-4FBE-8973-48344F23881E}", GuidToString(kTextLinkGuid));
  EXPECT_EQ("{2F605354-314D-4775-86E4-1F733550B227}", GuidToString(kMatrixLinkGuid));
  EXPECT_EQ("{11111111-1111-1111-1111-111111111111}", GuidToString(kAnyTypeLinkGuid));
  EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}", GuidToString(kOntologyItemLinkGuid));
  EXPECT_STREQ("QAXOntologyItem", kOntologyItemLinkTypeName);
  // The value link is the host float channel's own type.
  EXPECT_TRUE(GuidEquals(Aco_FloatChannel::kTypeGuid, kValueLinkGuid));
  EXPECT_TRUE(GuidEquals(Aco_StringChannel::kTypeGuid, kTextLinkGuid));
}

TEST_F(LinkTable, NullTextsAreReportedAndDeclaredAsEmpty) {
  channel_.CreateLink(kTextLinkGuid, nullptr, nullptr, 1, false);

  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ("ChannelExtension<class Aco_FloatChannel>::CreateLink().TypeName", Shown()[0]);
  EXPECT_EQ("ChannelExtension<class Aco_FloatChannel>::CreateLink().Name", Shown()[1]);
  const ChildCreation* record = channel_.GetChildCreation(0);
  ASSERT_NE(nullptr, record);
  EXPECT_STREQ("", record->Type.Name);
  EXPECT_STREQ("", record->LinkName);
  EXPECT_STREQ("", channel_.GetChildLinkName(0));

  globalEngine->ShowDebugMessage.Clear();
  channel_.SetChildLinkName(0, nullptr);
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("ChannelExtension<class Aco_FloatChannel>::SetChildLinkName().name", Shown()[0]);
  EXPECT_STREQ("", channel_.GetChildLinkName(0));
}

TEST_F(LinkTable, PercentSignsAreStoredUnchanged) {
  channel_.CreateLink(kValueLinkGuid, "T%s%d", "N%s\\", 1, false);
  const ChildCreation* record = channel_.GetChildCreation(0);
  ASSERT_NE(nullptr, record);
  EXPECT_STREQ("T%s%d", record->Type.Name);
  EXPECT_STREQ("N%s\\", record->LinkName);
  EXPECT_STREQ("N%s\\", channel_.GetChildLinkName(0));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkTable, OverlongNamesAreCutToTheirRecordFields) {
  const std::string longType(200, 't');
  const std::string longName(200, 'n');
  channel_.CreateLink(kValueLinkGuid, longType.c_str(), longName.c_str(), 1, false);
  const ChildCreation* record = channel_.GetChildCreation(0);
  ASSERT_NE(nullptr, record);
  EXPECT_EQ(std::string(79, 't'), record->Type.Name);
  EXPECT_EQ(std::string(99, 'n'), record->LinkName);
  // The name table keeps the whole name.
  EXPECT_EQ(longName, channel_.GetChildLinkName(0));
}

TEST_F(LinkTable, SettingANameFarAheadFillsTheGapWithNone) {
  channel_.SetChildLinkName(5, "five");
  const std::vector<std::string> expected = {"[none]", "[none]", "[none]",
                                             "[none]", "[none]", "five"};
  EXPECT_EQ(expected, channel_._linkNames);

  channel_.SetChildLinkName(2, "two");
  EXPECT_EQ("two", channel_._linkNames[2]);
  EXPECT_EQ(6u, channel_._linkNames.size());
}

TEST_F(LinkTable, AskingForAnUnnamedLinkRecordsItAsEmpty) {
  EXPECT_STREQ("", channel_.GetChildLinkName(2));
  const std::vector<std::string> expected = {"[none]", "[none]", ""};
  EXPECT_EQ(expected, channel_._linkNames);
  // Through the virtual interface, so a deriving class sees it.
  ASSERT_EQ(1u, channel_.setNameCalls.size());
  EXPECT_EQ(2u, channel_.setNameCalls[0].link);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkTable, NamesOutliveAResetOfTheHostLinks) {
  channel_.CreateValueLink("a", 1, false);
  channel_.CreateValueLink("b", 1, false);
  channel_.SetChildCreationCount(0);
  channel_.CreateValueLink("c", 1, false);
  EXPECT_STREQ("c", channel_.GetChildLinkName(0));
  EXPECT_STREQ("b", channel_.GetChildLinkName(1));
}

TEST_F(LinkTable, HugeLinkIndexIsReportedAndDoesNotGrowTheTable) {
  channel_.SetChildLinkName(0xFFFFFFFFu, "x");
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("ChannelExtension<class Aco_FloatChannel>::SetChildLinkName().link < kMaxLinkNames",
            Shown()[0]);
  EXPECT_TRUE(channel_._linkNames.empty());

  EXPECT_STREQ("", channel_.GetChildLinkName(0x80000000u));
  EXPECT_TRUE(channel_._linkNames.empty());
}

TEST_F(LinkTable, ErrorAndInvalidTextsUseTheLinkName) {
  channel_.CreateValueLink("speed", 1, false);
  EXPECT_EQ("ChildLinkError[speed]", channel_.GetChildLinkErrorText(0));
  EXPECT_EQ("ChildLinkInvalid[speed]", channel_.GetChildLinkInvalidText(0));
  EXPECT_EQ("ChildLinkError[]", channel_.GetChildLinkErrorText(3));
  EXPECT_EQ("[none]", channel_._linkNames[1]);
}

TEST_F(LinkTable, WithoutAServedChannelNoLinkIsDeclared) {
  channel_._self = nullptr;
  channel_.CreateValueLink("a", 1, false);
  EXPECT_EQ(0, channel_.GetChildCount());
  EXPECT_EQ(
      std::vector<std::string>{"ChannelExtension<class Aco_FloatChannel>::CreateLink()._self"},
      Shown());
}

// Copying the extension.

TEST_F(LinkTable, CopyServesTheSourceChannelUntilRebound) {
  channel_.CreateValueLink("a", 1, false);
  channel_.SetChildLinkName(2, "c");

  TestChannel copy(channel_);  // Aco_FloatChannel copies, the extension copies
  EXPECT_EQ(&channel_, copy._self);
  EXPECT_EQ(channel_._linkNames, copy._linkNames);

  copy.CE_SetSelf(&copy);
  EXPECT_EQ(&copy, copy._self);
  const std::vector<std::string> expected = {"a", "[none]", "c"};
  EXPECT_EQ(expected, copy._linkNames);
}

// CopyFieldText.

class FieldText : public ::testing::Test {};

TEST_F(FieldText, KeepsWhatFitsWithTheTerminatorAndNeverOverruns) {
  for (std::size_t size : {std::size_t{80}, std::size_t{100}}) {
    std::vector<char> field(size + 8, '#');
    const std::string text(size + 20, 'x');
    CopyFieldText(field.data(), size, text.c_str());
    EXPECT_EQ(std::string(size - 1, 'x'), std::string(field.data())) << size;
    for (std::size_t i = size; i < field.size(); ++i) EXPECT_EQ('#', field[i]) << i;
  }
}

TEST_F(FieldText, NullTextGivesTheEmptyTextAndZeroSizeWritesNothing) {
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
