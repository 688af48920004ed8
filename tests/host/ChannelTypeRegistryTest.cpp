// Making channels by type GUID.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/HighPoly.h"
#include "tests/host/GroupFileTestChannels.h"

namespace {

using group_file_test::MakeType;
using group_file_test::PairChannel;

class ChannelTypeRegistryTest : public ::testing::Test {
 protected:
  ChannelTypeRegistry registry_;
};

template <typename T>
void ExpectBuiltIn(const ChannelTypeRegistry& registry, const char* name, const char* guid) {
  SCOPED_TRACE(name);
  std::unique_ptr<A3d_Channel> channel = registry.NewChannel(T::kTypeGuid);
  ASSERT_NE(nullptr, dynamic_cast<T*>(channel.get()));
  EXPECT_STREQ(name, channel->GetChannelType().Name);
  EXPECT_EQ(guid, GuidToString(channel->GetChannelType().TypeGuid));
  EXPECT_EQ(guid, GuidToString(channel->GetChannelType().BaseGuid));
  ASSERT_NE(nullptr, registry.FindType(T::kTypeGuid));
  EXPECT_STREQ(name, registry.FindType(T::kTypeGuid)->Name);
}

TEST_F(ChannelTypeRegistryTest, BuiltInsMakeTheHostsValueChannels) {
  registry_.RegisterBuiltIns();
  ExpectBuiltIn<Aco_FloatChannel>(registry_, "Value", "{BE69CCC4-CFC1-4362-AC81-767D199BBFC3}");
  ExpectBuiltIn<Aco_StringChannel>(registry_, "Text", "{6E6FB247-4627-4FBE-8973-48344F23881E}");
  ExpectBuiltIn<Aco_ValueVectorChannel>(registry_, "Value Vector",
                                        "{9D045960-EAC2-4C40-9BBF-10F32F7FA305}");
  ExpectBuiltIn<Aco_MatrixChannel>(registry_, "Matrix", "{2F605354-314D-4775-86E4-1F733550B227}");
}

TEST_F(ChannelTypeRegistryTest, NewChannelsGetTheRegisteredTypeRecord) {
  // A factory that makes a bare host channel: the registry gives it its type.
  ASSERT_TRUE(registry_.Register(MakeType("Plain", PairChannel::kTypeGuid),
                                 [] { return std::make_unique<A3d_Channel>(); }));
  std::unique_ptr<A3d_Channel> channel = registry_.NewChannel(PairChannel::kTypeGuid);
  ASSERT_NE(nullptr, channel);
  EXPECT_STREQ("Plain", channel->GetChannelType().Name);
  EXPECT_TRUE(GuidEquals(PairChannel::kTypeGuid, channel->GetChannelType().BaseGuid));
}

TEST_F(ChannelTypeRegistryTest, ATypeCannotBeTakenOver) {
  registry_.RegisterBuiltIns();
  EXPECT_FALSE(registry_.Register(MakeType("Impostor", Aco_FloatChannel::kTypeGuid),
                                  [] { return std::make_unique<A3d_Channel>(); }));
  std::unique_ptr<A3d_Channel> channel = registry_.NewChannel(Aco_FloatChannel::kTypeGuid);
  EXPECT_NE(nullptr, dynamic_cast<Aco_FloatChannel*>(channel.get()));
  EXPECT_STREQ("Value", registry_.FindType(Aco_FloatChannel::kTypeGuid)->Name);
  registry_.RegisterBuiltIns();  // again: harmless
  EXPECT_NE(nullptr, registry_.NewChannel(Aco_MatrixChannel::kTypeGuid));
}

TEST_F(ChannelTypeRegistryTest, EmptyFactoryIsRefusedAndNullResultIsPassedOn) {
  EXPECT_FALSE(registry_.Register(MakeType("None", PairChannel::kTypeGuid), nullptr));
  EXPECT_EQ(nullptr, registry_.FindType(PairChannel::kTypeGuid));
  ASSERT_TRUE(registry_.Register(MakeType("Out of memory", PairChannel::kTypeGuid),
                                 [] { return std::unique_ptr<A3d_Channel>(); }));
  EXPECT_EQ(nullptr, registry_.NewChannel(PairChannel::kTypeGuid));
}

}  // namespace
