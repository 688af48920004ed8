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
void ExpectBuiltIn(const ChannelTypeRegistry& registry, const char* name) {
  std::unique_ptr<A3d_Channel> channel = registry.NewChannel(T::kTypeGuid);
  ASSERT_NE(nullptr, channel) << name;
  EXPECT_NE(nullptr, dynamic_cast<T*>(channel.get())) << name;
  EXPECT_STREQ(name, channel->GetChannelType().Name);
  EXPECT_TRUE(GuidEquals(T::kTypeGuid, channel->GetChannelType().TypeGuid)) << name;
  const ChannelType* type = registry.FindType(T::kTypeGuid);
  ASSERT_NE(nullptr, type) << name;
  EXPECT_STREQ(name, type->Name);
}

TEST_F(ChannelTypeRegistryTest, BuiltInsMakeTheHostsValueChannels) {
  registry_.RegisterBuiltIns();
  ExpectBuiltIn<Aco_FloatChannel>(registry_, "Value");
  ExpectBuiltIn<Aco_StringChannel>(registry_, "Text");
  ExpectBuiltIn<Aco_ValueVectorChannel>(registry_, "Value Vector");
  ExpectBuiltIn<Aco_MatrixChannel>(registry_, "Matrix");
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
