// The three message forms and the module-wide message buffer.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/EngineInterface.h"
#include "module/Diagnostics.h"

namespace {

using Texts = std::vector<std::string>;

class Diagnostics : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
  const Texts& Shown() const { return globalEngine->ShowDebugMessage.Shown(); }
};

TEST_F(Diagnostics, EachFormShowsItsExactText) {
  struct Case {
    const char* what;
    std::function<void()> report;
    Texts shown;
  };
  const Case cases[] = {
      {"failed check: function, call mark, condition as written",
       [] { ReportFailedCheck("ChannelExtension<class Aco_FloatChannel>::CE_SetSelf", "self"); },
       {"ChannelExtension<class Aco_FloatChannel>::CE_SetSelf().self"}},
      {"a percent sign once, a backslash twice",
       [] { ReportFailedCheck("F", "a%db\\c%"); },
       {"F().a%db\\\\c%"}},
      {"error fills its detail format",
       [] { ReportError("MultiModeChannel<A,B>::GetModeDescription", "Mode[%u]", 7u); },
       {"MultiModeChannel<A,B>::GetModeDescription().Mode[7]"}},
      {"plain message has no function name",
       [] { ReportPlain("InvalidlLinkIndex.Link[%d]", 5); },
       {"InvalidlLinkIndex.Link[5]"}},
      {"null texts count as empty",
       [] {
         ReportFailedCheck(nullptr, nullptr);
         ReportError(nullptr, "%s", "x");
       },
       {"().", "().x"}},
      {"only a failed check is reported",
       [] {
         EXPECT_TRUE(CheckOrReport(true, "Fn", "cond"));
         EXPECT_FALSE(CheckOrReport(false, "Fn", "cond"));
       },
       {"Fn().cond"}},
      {"formatting alone shows nothing",
       [] { EXPECT_EQ(DebugMessageText.c_str(), FormatDebugMessage("UnknownMode[%u]", 7u)); },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    globalEngine->ShowDebugMessage.Clear();
    c.report();
    EXPECT_EQ(c.shown, Shown());
  }
  EXPECT_EQ("UnknownMode[7]", DebugMessageText);
}

TEST_F(Diagnostics, LaterMessagesOverwriteTheBufferButNotThePlainText) {
  ReportPlain("first %d", 1);
  EXPECT_EQ("first 1", DebugMessageText);
  ReportError("G", "second %d", 2);
  EXPECT_EQ((Texts{"first 1", "G().second 2"}), Shown());
  EXPECT_STREQ("G().second 2", DebugMessageBuffer);
  EXPECT_EQ("first 1", DebugMessageText);
}

TEST_F(Diagnostics, PrefixAndAppendComposeOneTextAndEscapeDoublesOnlyPercentAndBackslash) {
  const DebugMessagePosition position = FormatDebugPrefix("Fn", "().");
  EXPECT_EQ(5, position.count);
  EXPECT_STREQ("Fn().x=3", AppendDebugMessage(position, "x=%d", 3));
  EXPECT_EQ("100%% \\\\n ok", EscapeForFormat("100% \\n ok"));
  EXPECT_EQ("", EscapeForFormat(""));
  EXPECT_EQ("", EscapeForFormat(nullptr));
}

TEST_F(Diagnostics, OverLongTextsAreCutToTheirBounds) {
  const std::string longName(30000, 'f');
  ReportFailedCheck(longName.c_str(), "cond");
  EXPECT_EQ(std::string(kDebugMessageBufferSize - 1, 'f'), Shown().at(0));

  // The detail gets 20480 minus the prefix's 5 characters, terminator
  // included.
  const std::string longDetail(30000, 'd');
  ReportError("Fn", "%s", longDetail.c_str());
  EXPECT_EQ("Fn()." + std::string(20480 - 5 - 1, 'd'), Shown().at(1));
  ReportPlain("%s", longDetail.c_str());
  EXPECT_EQ(20479u, Shown().at(2).size());
  EXPECT_EQ(20479u, DebugMessageText.size());

  // Escaped percent signs stay whole.
  const std::string condition(25000, '%');
  ReportFailedCheck("Fn", condition.c_str());
  EXPECT_EQ("Fn()." + std::string(20480 - 5 - 1, '%'), Shown().at(3));
}

}  // namespace
