// The three message forms the module shows the host, and the bounds of the
// module-wide message buffer.
#include <functional>

#include <gtest/gtest.h>

#include "host/sdk/EngineInterface.h"
#include "module/Diagnostics.h"

namespace {

using Texts = std::vector<std::string>;

const Texts& Shown() { return globalEngine->ShowDebugMessage.Shown(); }

TEST(Diagnostics, EachFormShowsItsExactText) {
  const struct {
    std::function<void()> report;
    Texts shown;
  } cases[] = {
      // Failed check: function, call mark, condition as written.
      {[] { ReportFailedCheck("F", "a%db\\c%"); }, {"F().a%db\\\\c%"}},
      {[] { ReportError("MultiModeChannel<A,B>::GetModeDescription", "Mode[%u]", 7u); },
       {"MultiModeChannel<A,B>::GetModeDescription().Mode[7]"}},
      {[] { ReportPlain("InvalidlLinkIndex.Link[%d]", 5); }, {"InvalidlLinkIndex.Link[5]"}},
      {[] {
         ReportFailedCheck(nullptr, nullptr);
         ReportError(nullptr, "%s", "x");
       },
       {"().", "().x"}},
      {[] { EXPECT_FALSE(CheckOrReport(false, "Fn", "cond") || !CheckOrReport(true, "F", "")); },
       {"Fn().cond"}},
  };
  for (const auto& c : cases) {
    globalEngine->ShowDebugMessage.Clear();
    c.report();
    EXPECT_EQ(c.shown, Shown());
  }
}

TEST(Diagnostics, OverLongTextsAreCutToTheirBounds) {
  globalEngine->ShowDebugMessage.Clear();
  const std::string longName(30000, 'f'), longDetail(30000, 'd'), percents(25000, '%');
  ReportFailedCheck(longName.c_str(), "cond");
  // The detail gets 20480 minus the prefix's 5 characters, terminator
  // included; escaped percent signs stay whole.
  ReportError("Fn", "%s", longDetail.c_str());
  ReportFailedCheck("Fn", percents.c_str());
  ReportPlain("%s", longDetail.c_str());
  EXPECT_EQ((Texts{std::string(kDebugMessageBufferSize - 1, 'f'),
                   "Fn()." + std::string(20480 - 5 - 1, 'd'),
                   "Fn()." + std::string(20480 - 5 - 1, '%'), std::string(20479, 'd')}),
            Shown());
  EXPECT_EQ(20479u, DebugMessageText.size());
  // A position before the buffer's start counts as its start.
  EXPECT_STREQ("x", AppendDebugMessage(DebugMessagePosition{-3}, "%s", "x"));
}

}  // namespace
