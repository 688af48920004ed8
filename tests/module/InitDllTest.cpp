// Making channels through the module's InitDLL entry point.
#include <memory>

#include <gtest/gtest.h>

#include "module/Module.h"
#include "tests/support/AllocationFailure.h"

namespace {

TEST(InitDll, MakesADistinctNamedChannelOnEveryCall) {
  std::unique_ptr<A3d_Channel> first(InitDLL());
  std::unique_ptr<A3d_Channel> second(InitDLL());
  ASSERT_NE(nullptr, first);
  ASSERT_NE(nullptr, second);
  EXPECT_NE(first.get(), second.get());
  EXPECT_STREQ("QAXOntologyItem", first->GetChannelName());
  EXPECT_STREQ("QAXOntologyItem", second->GetChannelName());
}

TEST(InitDll, NeverLetsAnAllocationFailureOutAndNeverLeaks) {
  // Fail each allocation that making a channel performs in turn, the
  // channel's own first: every attempt ends with a channel or with null,
  // never with an exception (and the sanitizer build sees no leak).
  for (std::size_t n = 1;; ++n) {
    A3d_Channel* channel = nullptr;
    bool failed = false;
    {
      qax_test::ScopedAllocationFailure failNth(n);
      EXPECT_NO_THROW(channel = InitDLL());
      failed = qax_test::AllocationFailureHappened();
    }
    if (!failed) {
      ASSERT_NE(nullptr, channel);
      delete channel;
      break;
    }
    EXPECT_EQ(nullptr, channel) << "allocation " << n;
    delete channel;
  }
}

}  // namespace
