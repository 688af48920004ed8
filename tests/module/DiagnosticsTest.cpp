// The three message forms and the module-wide message buffer.
#include <string>

#include <gtest/gtest.h>

#include "host/sdk/EngineInterface.h"
#include "module/Diagnostics.h"

namespace {

class Diagnostics : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
  const std::vector<std::string>& Shown() const { return globalEngine->ShowDebugMessage.Shown(); }
};

TEST_F(Diagnostics, FailedCheckShowsFunctionCallMarkAndConditionAsWritten) {
  ReportFailedCheck("ChannelExtension<class Aco_FloatChannel>::CE_SetSelf", "self");
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("ChannelExtension<class Aco_FloatChannel>::CE_SetSelf().self", Shown()[0]);
}

TEST_F(Diagnostics, FailedCheckShowsAPercentSignOnceAndABackslashTwice) {
  ReportFailedCheck("F", "a%db\\c%");
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("F().a%db\\\\c%", Shown()[0]);
}

TEST_F(Diagnostics, ErrorFillsItsDetailFormat) {
  ReportError(
      "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::"
      "GetModeDescription",
      "ModeNotRecognized.Mode[%u]", 7u);
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ(
      "MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::"
      "GetModeDescription().ModeNotRecognized.Mode[7]",
      Shown()[0]);
}

TEST_F(Diagnostics, PlainMessageHasNoFunctionNameAndIsShownFromTheString) {
  ReportPlain("InvalidlLinkIndex.Link[%d]", 5);
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("InvalidlLinkIndex.Link[5]", Shown()[0]);
  EXPECT_EQ("InvalidlLinkIndex.Link[5]", DebugMessageText);
}

TEST_F(Diagnostics, LaterMessagesOverwriteTheBufferButNotThePlainText) {
  ReportPlain("first %d", 1);
  ReportError("G", "second %d", 2);
  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ("first 1", Shown()[0]);
  EXPECT_EQ("G().second 2", Shown()[1]);
  EXPECT_STREQ("G().second 2", DebugMessageBuffer);
  EXPECT_EQ("first 1", DebugMessageText);
}

TEST_F(Diagnostics, PrefixAndAppendComposeOneText) {
  const DebugMessagePosition position = FormatDebugPrefix("Fn", "().");
  EXPECT_EQ(5, position.count);
  EXPECT_STREQ("Fn().x=3", AppendDebugMessage(position, "x=%d", 3));
}

TEST_F(Diagnostics, FormatDebugMessageAnswersTheStringsText) {
  const char* text = FormatDebugMessage("UnknownMode[%u]", 7u);
  EXPECT_EQ(DebugMessageText.c_str(), text);
  EXPECT_EQ("UnknownMode[7]", DebugMessageText);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Diagnostics, EscapeDoublesPercentSignsAndBackslashesOnly) {
  EXPECT_EQ("100%% \\\\n ok", EscapeForFormat("100% \\n ok"));
  EXPECT_EQ("", EscapeForFormat(""));
  EXPECT_EQ("", EscapeForFormat(nullptr));
}

TEST_F(Diagnostics, OverLongFunctionNameIsCutToTheBuffer) {
  const std::string longName(30000, 'f');
  ReportFailedCheck(longName.c_str(), "cond");
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ(kDebugMessageBufferSize - 1, Shown()[0].size());
  EXPECT_EQ(std::string(kDebugMessageBufferSize - 1, 'f'), Shown()[0]);
}

TEST_F(Diagnostics, OverLongDetailIsCutSoThatPrefixAndDetailFitTheAppendBound) {
  const std::string longDetail(30000, 'd');
  ReportError("Fn", "%s", longDetail.c_str());
  ASSERT_EQ(1u, Shown().size());
  // The detail gets 20480 minus the prefix's 5 characters, terminator
  // included.
  EXPECT_EQ(5u + (20480u - 5u - 1u), Shown()[0].size());
  EXPECT_EQ("Fn().ddd", Shown()[0].substr(0, 8));

  ReportPlain("%s", longDetail.c_str());
  EXPECT_EQ(20479u, Shown()[1].size());
  EXPECT_EQ(20479u, DebugMessageText.size());
}

TEST_F(Diagnostics, OverLongConditionIsCutAndEscapedPercentSignsStayWhole) {
  const std::string condition(25000, '%');
  ReportFailedCheck("Fn", condition.c_str());
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ(std::string(20480 - 5 - 1, '%'), Shown()[0].substr(5));
}

TEST_F(Diagnostics, NullTextsCountAsEmpty) {
  ReportFailedCheck(nullptr, nullptr);
  ReportError(nullptr, "%s", "x");
  ASSERT_EQ(2u, Shown().size());
  EXPECT_EQ("().", Shown()[0]);
  EXPECT_EQ("().x", Shown()[1]);
}

TEST_F(Diagnostics, CheckOrReportReportsOnlyAFailedCheck) {
  EXPECT_TRUE(CheckOrReport(true, "Fn", "cond"));
  EXPECT_TRUE(Shown().empty());
  EXPECT_FALSE(CheckOrReport(false, "Fn", "cond"));
  ASSERT_EQ(1u, Shown().size());
  EXPECT_EQ("Fn().cond", Shown()[0]);
}

}  // namespace
