// The module's entry points: the type descriptor GetType hands to the host,
// and InitDLL's channels when memory runs out.
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "module/Module.h"
#if !defined(_WIN32)
#include "tests/support/AllocationFailure.h"
#endif

namespace {

TEST(Entry, GetTypeRestoresItsOneDescriptorAndLeavesTheHostFieldsAlone) {
  // The GUID in platform byte order, as the type and as the base.
  const unsigned char guid[16] = {0x34, 0xDE, 0x9B, 0x6B, 0xC5, 0x8A, 0xDF, 0x11,
                                  0x94, 0xAA, 0x11, 0xF5, 0xDE, 0xD7, 0x20, 0x85};
  ChannelType* type = GetType();
  std::memset(static_cast<void*>(type), 'x', sizeof(*type));  // what a careless host may do
  ASSERT_EQ(type, GetType());
  unsigned char name[80] = "QAXOntologyItem";  // zero-filled
  EXPECT_EQ(0, std::memcmp(type->Name, name, sizeof(name)));
  EXPECT_EQ(0, std::memcmp(&type->TypeGuid, guid, 16));
  EXPECT_EQ(0, std::memcmp(&type->BaseGuid, guid, 16));
  EXPECT_EQ((std::vector<int>{7, 0, 0x78787878, 0x78787878, 0x78787878}),
            (std::vector<int>{type->TypeFlags, type->TypeExtra, type->HostField0, type->HostField1,
                              type->HostField2}));
}

// Only where the test program's operator new is the module's too: a DLL
// calls the runtime's own.
#if !defined(_WIN32)
TEST(Entry, InitDllMakesANamedChannelOrNullWhenMemoryRunsOutAndNeverLeaks) {
  // Fails each allocation of making a channel in turn: every attempt ends
  // with a channel or null, never an exception (the sanitizer sees leaks).
  for (std::size_t n = 1;; ++n) {
    A3d_Channel* channel = nullptr;
    bool failed = false;
    {
      qaxoi::test::ScopedAllocationFailure failNth(n);
      EXPECT_NO_THROW(channel = InitDLL());
      failed = qaxoi::test::AllocationFailureHappened();
    }
    std::unique_ptr<A3d_Channel> owned(channel);
    if (!failed) {
      ASSERT_NE(nullptr, channel);
      EXPECT_STREQ("QAXOntologyItem", channel->GetChannelName());
      break;
    }
    EXPECT_EQ(nullptr, channel) << "allocation " << n;
  }
}

#endif

}  // namespace
