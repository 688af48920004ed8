// The channel type descriptor that the module hands to the host.
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "module/Module.h"

namespace {

const unsigned char kTypeGuidBytes[16] = {0x34, 0xDE, 0x9B, 0x6B, 0xC5, 0x8A, 0xDF, 0x11,
                                          0x94, 0xAA, 0x11, 0xF5, 0xDE, 0xD7, 0x20, 0x85};

std::int32_t IntAt(const ChannelType* type, std::size_t offset) {
  std::int32_t value;
  std::memcpy(&value, reinterpret_cast<const unsigned char*>(type) + offset, sizeof(value));
  return value;
}

TEST(TypeDescriptor, IsOneRecordWithTheZeroFilledNameAndTheGuidAsTypeAndBase) {
  EXPECT_EQ(GetType(), GetType());
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(GetType());
  EXPECT_EQ(0, std::memcmp(bytes, "QAXOntologyItem", 15));
  for (std::size_t i = 15; i < 80; ++i) EXPECT_EQ(0, bytes[i]) << "name byte " << i;
  // In platform byte order.
  EXPECT_EQ(0, std::memcmp(bytes + 80, kTypeGuidBytes, 16));
  EXPECT_EQ(0, std::memcmp(bytes + 96, kTypeGuidBytes, 16));
}

TEST(TypeDescriptor, SetsSevenAndZeroAndLeavesTheHostFieldsAlone) {
  ChannelType* type = GetType();
  type->HostField0 = 11;
  type->HostField1 = 12;
  type->HostField2 = 13;
  type = GetType();
  EXPECT_EQ(7, IntAt(type, 120));
  EXPECT_EQ(0, IntAt(type, 128));
  EXPECT_EQ(11, IntAt(type, 112));
  EXPECT_EQ(12, IntAt(type, 116));
  EXPECT_EQ(13, IntAt(type, 124));
}

TEST(TypeDescriptor, RestoresWhatTheHostOverwrote) {
  ChannelType* type = GetType();
  std::memset(type->Name, 'x', sizeof(type->Name));
  type->TypeGuid = _GUID{};
  type->BaseGuid = _GUID{};
  type->TypeFlags = 99;
  type->TypeExtra = 99;
  type = GetType();
  EXPECT_STREQ("QAXOntologyItem", type->Name);
  EXPECT_EQ(0, type->Name[79]);
  EXPECT_TRUE(GuidEquals(type->TypeGuid, kQAXOntologyItemTypeGuid));
  EXPECT_TRUE(GuidEquals(type->BaseGuid, kQAXOntologyItemTypeGuid));
  EXPECT_EQ(7, type->TypeFlags);
  EXPECT_EQ(0, type->TypeExtra);
}

}  // namespace
