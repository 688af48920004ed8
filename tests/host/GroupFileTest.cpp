// Saving channel groups to bytes and loading them back.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/HighPoly.h"
#include "tests/host/GroupFileTestChannels.h"

namespace {

using group_file_test::PairChannel;
using group_file_test::SampleGroup;
using Bytes = std::vector<unsigned char>;

// A channel whose host refuses its record.
class RefusingChannel : public Aco_FloatChannel {
 public:
  bool SaveChannel(A3dFileSaver& /*saver*/) override { return false; }
};

// A channel that announces more data than it writes.
class ShortRecordChannel : public Aco_FloatChannel {
 public:
  bool SaveChannel(A3dFileSaver& saver) override {
    saver.SaveTag("HALF");
    saver.SaveBlockSize(8);
    saver.SaveDataToFile("abcd", 4);
    return true;
  }
};

class GroupFileTest : public ::testing::Test {
 protected:
  GroupFileTest() { group_file_test::RegisterTestTypes(&registry_); }

  Bytes Save(const char* name, const std::vector<A3d_Channel*>& channels) {
    Bytes bytes;
    std::string error;
    EXPECT_TRUE(SaveGroup(name, channels, &bytes, &error)) << error;
    return bytes;
  }

  std::unique_ptr<LoadedGroup> Load(const Bytes& bytes) {
    GroupFileError error;
    std::unique_ptr<LoadedGroup> loaded = LoadGroup(bytes.data(), bytes.size(), registry_, &error);
    EXPECT_NE(nullptr, loaded) << error.Message();
    return loaded;
  }

  // Saves, loads and checks the count; the loaded group for further checks.
  std::unique_ptr<LoadedGroup> RoundTrip(const char* name,
                                         const std::vector<A3d_Channel*>& channels) {
    std::unique_ptr<LoadedGroup> loaded = Load(Save(name, channels));
    if (loaded) {
      EXPECT_EQ(channels.size(), loaded->ChannelCount());
    }
    return loaded;
  }

  template <typename T>
  static T* As(const std::unique_ptr<LoadedGroup>& loaded, std::size_t index) {
    T* channel = dynamic_cast<T*>(loaded->Channel(index));
    EXPECT_NE(nullptr, channel) << "channel " << index;
    return channel;
  }

  ChannelTypeRegistry registry_;
};

TEST_F(GroupFileTest, ValuesNamesAndGroupNameSurvive) {
  Aco_FloatChannel value;
  value.SetChannelName("Speed");
  value.SetFloat(-0.375f);
  Aco_ValueVectorChannel vector;
  vector.SetChannelName("Position");
  vector.SetVector(D3DXVECTOR3{1.5f, -2.0f, 1e-30f});
  Aco_MatrixChannel matrix;  // unnamed
  D3DXMATRIX m;
  for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = static_cast<float>(i) * 0.5f - 3.0f;
  matrix.SetMatrix(m);

  std::unique_ptr<LoadedGroup> loaded = RoundTrip("Scene", {&value, &vector, &matrix});
  ASSERT_NE(nullptr, loaded);
  EXPECT_STREQ("Scene", loaded->Group()->GetGroupName());

  Aco_FloatChannel* value2 = As<Aco_FloatChannel>(loaded, 0);
  ASSERT_NE(nullptr, value2);
  EXPECT_STREQ("Speed", value2->GetChannelName());
  EXPECT_EQ(-0.375f, value2->GetFloat());
  EXPECT_STREQ("Value", value2->GetChannelType().Name);

  Aco_ValueVectorChannel* vector2 = As<Aco_ValueVectorChannel>(loaded, 1);
  ASSERT_NE(nullptr, vector2);
  EXPECT_STREQ("Position", vector2->GetChannelName());
  EXPECT_EQ(1.5f, vector2->GetVector().x);
  EXPECT_EQ(-2.0f, vector2->GetVector().y);
  EXPECT_EQ(1e-30f, vector2->GetVector().z);

  Aco_MatrixChannel* matrix2 = As<Aco_MatrixChannel>(loaded, 2);
  ASSERT_NE(nullptr, matrix2);
  EXPECT_EQ(nullptr, matrix2->GetChannelName());
  const D3DXMATRIX m2 = matrix2->GetMatrix();
  EXPECT_EQ(0, std::memcmp(&m, &m2, sizeof(m)));

  for (std::size_t i = 0; i < loaded->ChannelCount(); ++i) {
    EXPECT_EQ(loaded->Group(), loaded->Channel(i)->GetChannelGroup()) << i;
  }
}

TEST_F(GroupFileTest, TextsKeepNullApartFromEmpty) {
  Aco_StringChannel nulls;  // both texts null
  Aco_StringChannel empties;
  empties.SetString("");
  empties.SetWString(L"");
  Aco_StringChannel mixed;
  mixed.SetString("caf\xC3\xA9 & more");
  mixed.SetWString(L"Gr\u00FC\u00DFe \u20AC \U0001F600");

  std::unique_ptr<LoadedGroup> loaded = RoundTrip("Texts", {&nulls, &empties, &mixed});
  ASSERT_NE(nullptr, loaded);
  Aco_StringChannel* nulls2 = As<Aco_StringChannel>(loaded, 0);
  Aco_StringChannel* empties2 = As<Aco_StringChannel>(loaded, 1);
  Aco_StringChannel* mixed2 = As<Aco_StringChannel>(loaded, 2);
  ASSERT_TRUE(nulls2 != nullptr && empties2 != nullptr && mixed2 != nullptr);
  EXPECT_EQ(nullptr, nulls2->GetString());
  EXPECT_EQ(nullptr, nulls2->GetWString());
  ASSERT_NE(nullptr, empties2->GetString());
  EXPECT_STREQ("", empties2->GetString());
  ASSERT_NE(nullptr, empties2->GetWString());
  EXPECT_EQ(std::wstring(), empties2->GetWString());
  EXPECT_STREQ("caf\xC3\xA9 & more", mixed2->GetString());
  EXPECT_EQ(std::wstring(L"Gr\u00FC\u00DFe \u20AC \U0001F600"), mixed2->GetWString());
}

TEST_F(GroupFileTest, GroupNameNullAndEmptyStayApart) {
  std::unique_ptr<LoadedGroup> unnamed = RoundTrip(nullptr, {});
  ASSERT_NE(nullptr, unnamed);
  EXPECT_EQ(nullptr, unnamed->Group()->GetGroupName());
  EXPECT_EQ(0u, unnamed->ChannelCount());

  std::unique_ptr<LoadedGroup> empty = RoundTrip("", {});
  ASSERT_NE(nullptr, empty);
  ASSERT_NE(nullptr, empty->Group()->GetGroupName());
  EXPECT_STREQ("", empty->Group()->GetGroupName());
}

TEST_F(GroupFileTest, ChildrenAreLinkedByPositionForwardBackwardAndToThemselves) {
  // The parent comes first, so its children do not exist yet when it loads.
  PairChannel parent;
  Aco_FloatChannel a;
  a.SetChannelName("a");
  PairChannel late;
  parent.DeclareLinks(4);
  parent.LinkChild(0, &late);
  parent.LinkChild(2, &a);  // slots 1 and 3 stay empty
  late.DeclareLinks(2);
  late.LinkChild(0, &parent);
  late.LinkChild(1, &late);

  std::unique_ptr<LoadedGroup> loaded = RoundTrip("Links", {&parent, &a, &late});
  ASSERT_NE(nullptr, loaded);
  A3d_Channel* parent2 = loaded->Channel(0);
  A3d_Channel* a2 = loaded->Channel(1);
  A3d_Channel* late2 = loaded->Channel(2);
  ASSERT_EQ(4, parent2->GetChildCount());
  EXPECT_EQ(late2, parent2->GetChild(0));
  EXPECT_EQ(nullptr, parent2->GetChild(1));
  EXPECT_EQ(a2, parent2->GetChild(2));
  EXPECT_EQ(nullptr, parent2->GetChild(3));
  EXPECT_EQ(0, a2->GetChildCount());
  ASSERT_EQ(2, late2->GetChildCount());
  EXPECT_EQ(parent2, late2->GetChild(0));
  EXPECT_EQ(late2, late2->GetChild(1));
}

TEST_F(GroupFileTest, LoadedGroupSavesToTheSameBytes) {
  SampleGroup sample;
  const Bytes first = sample.Save();
  ASSERT_FALSE(first.empty());
  std::unique_ptr<LoadedGroup> loaded = Load(first);
  ASSERT_NE(nullptr, loaded);
  EXPECT_EQ(first, Save(loaded->Group()->GetGroupName(), loaded->Channels()));
}

TEST_F(GroupFileTest, BytesFollowTheDocumentedLayout) {
  // An empty group named "G", then one float channel with value 2 named "v".
  Aco_FloatChannel value;
  value.SetChannelName("v");
  value.SetFloat(2.0f);
  const Bytes bytes = Save("G", {&value});
  const Bytes expected = {
      0x41, 0x33, 0x44, 0x47, 0x52, 0x50, 0x0D, 0x0A,  // magic "A3DGRP\r\n"
      0x01, 0x00, 0x00, 0x00,                          // version 1
      0x01, 0x01, 0x00, 0x00, 0x00, 0x47,              // name present, 1, "G"
      0x01, 0x00, 0x00, 0x00,                          // 1 channel
      0xC4, 0xCC, 0x69, 0xBE, 0xC1, 0xCF, 0x62, 0x43,  // {BE69CCC4-CFC1-4362-
      0xAC, 0x81, 0x76, 0x7D, 0x19, 0x9B, 0xBF, 0xC3,  //  AC81-767D199BBFC3}
      0x01, 0x00, 0x00, 0x00, 0x40,                    // float state: 2.0f
      0x0D, 0x00, 0x00, 0x00,                          // section: 13 bytes
      0x43, 0x48, 0x4E, 0x41, 0x4D, 0x45, 0x00,        // "CHNAME"
      0x02, 0x00, 0x00, 0x00, 0x76, 0x00,              // size 2, "v"
      0x00, 0x00, 0x00, 0x00,                          // no links
  };
  EXPECT_EQ(expected, bytes);
}

TEST_F(GroupFileTest, SavingRefusesWhatCannotBeLoadedAgain) {
  SampleGroup sample;
  const Bytes untouched = {1, 2, 3};
  Bytes bytes = untouched;
  std::string error;

  EXPECT_FALSE(SaveGroup("G", {&sample.speed, nullptr}, &bytes, &error));
  EXPECT_NE(std::string::npos, error.find("channel 1 is null")) << error;

  EXPECT_FALSE(SaveGroup("G", {&sample.speed, &sample.speed}, &bytes, &error));
  EXPECT_NE(std::string::npos, error.find("same channel as channel 0")) << error;

  // The pair links the text channel, which is not saved with it.
  EXPECT_FALSE(SaveGroup("G", {&sample.speed, &sample.pair}, &bytes, &error));
  EXPECT_NE(std::string::npos, error.find("channel 1 (Pair")) << error;
  EXPECT_NE(std::string::npos, error.find("link 1 holds a channel that is not in the group"))
      << error;

  RefusingChannel refusing;
  EXPECT_FALSE(SaveGroup("G", {&refusing}, &bytes, &error));
  EXPECT_NE(std::string::npos, error.find("SaveChannel failed")) << error;

  ShortRecordChannel broken;
  EXPECT_FALSE(SaveGroup("G", {&broken}, &bytes, &error));
  EXPECT_NE(std::string::npos, error.find("does not match its size")) << error;

  EXPECT_EQ(untouched, bytes);
}

TEST_F(GroupFileTest, LoadingNeedsTheTypesRegistered) {
  SampleGroup sample;
  const Bytes bytes = sample.Save();
  ChannelTypeRegistry builtInsOnly;
  builtInsOnly.RegisterBuiltIns();
  GroupFileError error;
  EXPECT_EQ(nullptr, LoadGroup(bytes.data(), bytes.size(), builtInsOnly, &error));
  EXPECT_EQ(2, error.channel);
  EXPECT_EQ(121u, error.offset);  // where the pair's entry begins
  EXPECT_NE(std::string::npos, error.reason.find("unknown channel type")) << error.reason;
  EXPECT_NE(std::string::npos,
            error.Message().find("channel 2 ({5A17C0DE-0001-4000-8000-000000000001}), byte 121"))
      << error.Message();
}

}  // namespace
