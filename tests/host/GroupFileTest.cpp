// Saving channel groups to bytes, loading them back, walking their structure,
// and loading truncated and corrupted files: every fault is an error that
// names the channel, the offset and the reason, and nothing is handed out
// half-loaded.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/GroupFileReader.h"
#include "host/sdk/HighPoly.h"
#include "tests/host/GroupFileTestChannels.h"

namespace {

using group_file_test::PairChannel;
using group_file_test::SampleGroup;
using group_file_test::SloppyChannel;
using Bytes = std::vector<unsigned char>;

// Offsets in the sample group's 184 bytes (see docs/group-files.md):
constexpr std::size_t kChannelCount = 21;
constexpr std::size_t kSpeedHostState = 41;      // channel 0, float
constexpr std::size_t kSpeedSectionLength = 46;  // 17
constexpr std::size_t kSpeedRecords = 50;        // "CHNAME" "Speed"
constexpr std::size_t kSpeedLinkCount = 67;      // 0
constexpr std::size_t kLabelEntry = 71;          // channel 1, text
constexpr std::size_t kLabelHostState = 87;
constexpr std::size_t kLabelTextFlag = 88;
constexpr std::size_t kPairEntry = 121;  // channel 2, pair
constexpr std::size_t kPairLink1 = 180;  // channel 2: link 1 -> channel 1
constexpr std::size_t kSampleSize = 184;

void PutU32(Bytes* bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

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
  GroupFileTest() : bytes_(sample_.Save()) { group_file_test::RegisterTestTypes(&registry_); }

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

  // Loads bytes that must fail, and answers the error.
  GroupFileError LoadFails(const Bytes& bytes) {
    GroupFileError error;
    EXPECT_EQ(nullptr, LoadGroup(bytes.data(), bytes.size(), registry_, &error));
    EXPECT_FALSE(error.reason.empty());
    return error;
  }

  ChannelTypeRegistry registry_;
  SampleGroup sample_;
  Bytes bytes_;  // the sample group saved
};

// One line per channel: its name, its host state and what its links hold.
std::vector<std::string> Describe(const LoadedGroup& group) {
  const auto text = [](const char* t) { return t != nullptr ? "'" + std::string(t) + "'" : "-"; };
  std::vector<std::string> lines = {"group " + text(group.Group()->GetGroupName())};
  for (std::size_t i = 0; i < group.ChannelCount(); ++i) {
    A3d_Channel* channel = group.Channel(i);
    std::ostringstream line;
    line.precision(9);
    line << text(channel->GetChannelName());
    if (auto* f = dynamic_cast<Aco_FloatChannel*>(channel)) line << " " << f->GetFloat();
    if (auto* v = dynamic_cast<Aco_ValueVectorChannel*>(channel)) {
      line << " " << v->GetVector().x << " " << v->GetVector().y << " " << v->GetVector().z;
    }
    if (auto* m = dynamic_cast<Aco_MatrixChannel*>(channel)) {
      for (int k = 0; k < 16; ++k) line << " " << m->GetMatrix().m[k / 4][k % 4];
    }
    if (auto* t = dynamic_cast<Aco_StringChannel*>(channel)) {
      line << " " << text(t->GetString()) << " ";
      if (t->GetWString() == nullptr) line << "-";
      for (const wchar_t* w = t->GetWString(); w != nullptr && *w != 0; ++w) {
        line << "U+" << std::hex << static_cast<unsigned long>(*w) << std::dec << " ";
      }
    }
    for (int k = 0; k < channel->GetChildCount(); ++k) {
      A3d_Channel* child = channel->GetChild(k);
      line << (k == 0 ? " ->" : "") << " ";
      for (std::size_t j = 0; j < group.ChannelCount(); ++j) {
        if (group.Channel(j) == child) line << j;
      }
      if (child == nullptr) line << "_";
    }
    EXPECT_EQ(group.Group(), channel->GetChannelGroup()) << i;
    lines.push_back(line.str());
  }
  return lines;
}

TEST_F(GroupFileTest, ValuesNamesTextsAndLinksSurvive) {
  Aco_FloatChannel value;
  value.SetChannelName("Speed");
  value.SetFloat(-0.375f);
  Aco_ValueVectorChannel vector;
  vector.SetChannelName("");
  vector.SetVector(D3DXVECTOR3{1.5f, -2.0f, 1e-30f});
  Aco_MatrixChannel matrix;  // unnamed
  D3DXMATRIX m;
  for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = static_cast<float>(i) * 0.5f - 3.0f;
  matrix.SetMatrix(m);
  Aco_StringChannel nulls;  // both texts null
  Aco_StringChannel empties;
  empties.SetString("");
  empties.SetWString(L"");
  Aco_StringChannel mixed;
  mixed.SetString("caf\xC3\xA9");
  mixed.SetWString(L"\u00FC\u20AC\U0001F600");
  // The parent comes first, so its children do not exist yet when it loads;
  // the late one links back and to itself.
  PairChannel parent;
  PairChannel late;
  parent.DeclareLinks(4);
  parent.LinkChild(0, &late);
  parent.LinkChild(2, &value);  // slots 1 and 3 stay empty
  late.DeclareLinks(2);
  late.LinkChild(0, &parent);
  late.LinkChild(1, &late);

  std::unique_ptr<LoadedGroup> loaded =
      RoundTrip(nullptr, {&parent, &value, &vector, &matrix, &nulls, &empties, &mixed, &late});
  ASSERT_NE(nullptr, loaded);
  EXPECT_EQ(
      std::vector<std::string>({"group -", "- -> 7 _ 1 _", "'Speed' -0.375", "'' 1.5 -2 1e-30",
                                "- -3 -2.5 -2 -1.5 -1 -0.5 0 0.5 1 1.5 2 2.5 3 3.5 4 4.5", "- - -",
                                "- '' ", "- 'caf\xC3\xA9' U+fc U+20ac U+1f600 ", "- -> 0 7"}),
      Describe(*loaded));

  // An empty group name is not the missing one.
  std::unique_ptr<LoadedGroup> empty = RoundTrip("", {});
  ASSERT_NE(nullptr, empty);
  EXPECT_EQ(std::vector<std::string>{"group ''"}, Describe(*empty));
}

TEST_F(GroupFileTest, LoadedGroupSavesToTheSameBytes) {
  ASSERT_EQ(kSampleSize, bytes_.size());
  std::unique_ptr<LoadedGroup> loaded = Load(bytes_);
  ASSERT_NE(nullptr, loaded);
  EXPECT_EQ(bytes_, Save(loaded->Group()->GetGroupName(), loaded->Channels()));
}

TEST_F(GroupFileTest, BytesFollowTheDocumentedLayout) {
  // A group named "G", then one float channel with value 2 named "v".
  Aco_FloatChannel value;
  value.SetChannelName("v");
  value.SetFloat(2.0f);
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
  EXPECT_EQ(expected, Save("G", {&value}));
}

TEST_F(GroupFileTest, ReaderWalksHeaderChannelsRecordsAndLinks) {
  GroupFileReader reader(bytes_.data(), bytes_.size());
  GroupFileHeader header;
  GroupFileError error;
  ASSERT_TRUE(reader.ReadHeader(&header, &error)) << error.Message();
  EXPECT_EQ(1u, header.version);
  EXPECT_TRUE(header.hasGroupName);
  EXPECT_EQ("Demo", header.groupName);
  ASSERT_EQ(3u, header.channelCount);

  GroupFileChannel speed;
  ASSERT_TRUE(reader.ReadChannel(&speed, &error)) << error.Message();
  EXPECT_EQ(25u, speed.offset);
  EXPECT_TRUE(GuidEquals(Aco_FloatChannel::kTypeGuid, speed.typeGuid));
  EXPECT_EQ(kSpeedHostState, speed.hostStateOffset);
  EXPECT_EQ(HostStateKind::kFloat, speed.hostState.kind);
  EXPECT_EQ(2.5f, speed.hostState.value);
  EXPECT_EQ(kSpeedSectionLength, speed.sectionLengthOffset);
  EXPECT_EQ(bytes_.data() + kSpeedRecords, speed.records);
  EXPECT_EQ(17u, speed.recordsSize);
  EXPECT_EQ(kSpeedLinkCount, speed.linksOffset);

  GroupFileChannel label;
  ASSERT_TRUE(reader.ReadChannel(&label, &error)) << error.Message();
  EXPECT_EQ(HostStateKind::kText, label.hostState.kind);
  EXPECT_TRUE(label.hostState.hasText);
  EXPECT_EQ("hi", label.hostState.text);
  EXPECT_FALSE(label.hostState.hasWideText);

  GroupFileChannel pair;
  ASSERT_TRUE(reader.ReadChannel(&pair, &error)) << error.Message();
  EXPECT_EQ(2, pair.index);
  EXPECT_EQ(HostStateKind::kNone, pair.hostState.kind);
  // The pair's own records, as it wrote them.
  EXPECT_EQ(142u, pair.recordsOffset);
  EXPECT_EQ(std::string("CHNAME\0\5\0\0\0Pair\0LINKS\0\4\0\0\0\2\0\0\0", 30),
            std::string(pair.records, pair.records + pair.recordsSize));
  EXPECT_EQ(std::vector<std::int32_t>({0, 1}), pair.links);

  EXPECT_TRUE(reader.ReadEnd(&error)) << error.Message();
  EXPECT_EQ(bytes_.size(), reader.Position());
}

TEST_F(GroupFileTest, SavingRefusesWhatCannotBeLoadedAgain) {
  RefusingChannel refusing;
  ShortRecordChannel broken;
  struct Case {
    std::vector<A3d_Channel*> channels;
    std::vector<std::string> said;
  };
  const Case cases[] = {
      {{&sample_.speed, nullptr}, {"channel 1 is null"}},
      {{&sample_.speed, &sample_.speed}, {"same channel as channel 0"}},
      // The pair links the text channel, which is not saved with it.
      {{&sample_.speed, &sample_.pair},
       {"channel 1 (Pair", "link 1 holds a channel that is not in the group"}},
      {{&refusing}, {"SaveChannel failed"}},
      {{&broken}, {"does not match its size"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said[0]);
    Bytes bytes = {1, 2, 3};
    std::string error;
    EXPECT_FALSE(SaveGroup("G", c.channels, &bytes, &error));
    for (const std::string& part : c.said) EXPECT_TRUE(Contains(error, part)) << error;
    EXPECT_EQ(Bytes({1, 2, 3}), bytes);
  }
}

TEST_F(GroupFileTest, EveryTruncationIsAnErrorAtOrBeforeTheCut) {
  // Walks the whole structure; false at the first error.
  const auto readerAccepts = [](const Bytes& bytes) {
    GroupFileReader reader(bytes.data(), bytes.size());
    GroupFileHeader header;
    GroupFileChannel channel;
    if (!reader.ReadHeader(&header, nullptr)) return false;
    for (std::uint32_t i = 0; i < header.channelCount; ++i) {
      if (!reader.ReadChannel(&channel, nullptr)) return false;
    }
    return reader.ReadEnd(nullptr);
  };
  for (std::size_t size = 0; size < bytes_.size(); ++size) {
    SCOPED_TRACE(size);
    // A copy of exactly `size` bytes, so that the sanitizer sees any read
    // beyond the cut.
    const Bytes cut(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(size));
    const GroupFileError error = LoadFails(cut);
    EXPECT_LE(error.offset, size) << error.Message();
    EXPECT_FALSE(readerAccepts(cut));
  }
  EXPECT_TRUE(readerAccepts(bytes_));
}

TEST_F(GroupFileTest, CorruptionIsReportedAtItsOffsetWithChannelAndReason) {
  struct Case {
    const char* what;
    std::function<void(Bytes&)> corrupt;
    std::size_t offset;
    int channel;         // -2: not checked
    const char* reason;  // a part of the reason
  };
  const Case cases[] = {
      {"magic", [](Bytes& b) { b[0] = 'B'; }, 0, -1, "magic"},
      // A text-mode transfer that turned "\r\n" into "\n".
      {"line end", [](Bytes& b) { b.erase(b.begin() + 6); }, 0, -1, ""},
      {"newer version", [](Bytes& b) { PutU32(&b, 8, 2); }, 8, -1, "version 2 is newer"},
      {"version 0", [](Bytes& b) { PutU32(&b, 8, 0); }, 8, -1, ""},
      {"name length", [](Bytes& b) { PutU32(&b, 13, 0x7FFFFFFF); }, 13, -2, ""},
      {"channel count", [](Bytes& b) { PutU32(&b, kChannelCount, 0xFFFFFFFF); }, kChannelCount, -2,
       "channels cannot fit"},
      // Four channels would fit the bytes, but only three are there.
      {"one channel more", [](Bytes& b) { PutU32(&b, kChannelCount, 4); }, kSampleSize, 3, ""},
      {"one channel less", [](Bytes& b) { PutU32(&b, kChannelCount, 2); }, kPairEntry, -2,
       "63 unexpected bytes"},
      {"trailing byte", [](Bytes& b) { b.push_back(0); }, kSampleSize, -2, "1 unexpected bytes"},
      {"unknown type", [](Bytes& b) { b[kLabelEntry] ^= 0xFF; }, kLabelEntry, 1,
       "unknown channel type"},
      {"host state kind", [](Bytes& b) { b[kSpeedHostState] = 9; }, kSpeedHostState, 0,
       "unknown host state kind 9"},
      {"text flag", [](Bytes& b) { b[kLabelTextFlag] = 2; }, kLabelTextFlag, 1, ""},
      // The text channel's entry claims the float type.
      {"state of another kind",
       [](Bytes& b) { std::copy(b.begin() + 25, b.begin() + 41, b.begin() + kLabelEntry); },
       kLabelHostState, 1, "kind text, but a channel of this type holds float"},
      {"section too long", [](Bytes& b) { PutU32(&b, kSpeedSectionLength, 0x10000); },
       kSpeedSectionLength, 0, "section of 65536 bytes runs past the end"},
      // One byte short: the section ends inside its record.
      {"section too short", [](Bytes& b) { PutU32(&b, kSpeedSectionLength, 16); }, kSpeedRecords, 0,
       "does not fit in the channel's section"},
      {"link count", [](Bytes& b) { PutU32(&b, kSpeedLinkCount, 1000000); }, kSpeedLinkCount, 0,
       "links cannot fit"},
      {"link past the channels", [](Bytes& b) { PutU32(&b, kPairLink1, 3); }, kPairLink1, 2,
       "link 1 names channel 3"},
      {"negative link", [](Bytes& b) { PutU32(&b, kPairLink1, 0xFFFFFFFE); }, kPairLink1, 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes = bytes_;
    c.corrupt(bytes);
    const GroupFileError error = LoadFails(bytes);
    EXPECT_EQ(c.offset, error.offset) << error.Message();
    if (c.channel != -2) {
      EXPECT_EQ(c.channel, error.channel);
    }
    EXPECT_TRUE(Contains(error.reason, c.reason)) << error.reason;
  }
}

TEST_F(GroupFileTest, ErrorMessageNamesChannelTypeAndByte) {
  bytes_[kSpeedRecords] = 'X';  // "XHNAME": the host channel finds no name record
  GroupFileError error = LoadFails(bytes_);
  EXPECT_TRUE(Contains(error.reason, "stopped at record \"XHNAME\"")) << error.reason;
  EXPECT_EQ("group file, channel 0 (Value {BE69CCC4-CFC1-4362-AC81-767D199BBFC3}), byte 50: " +
                error.reason,
            error.Message());
  EXPECT_EQ("Value", error.typeName);

  // Without the pair's type registered, the type is known only by its GUID.
  ChannelTypeRegistry builtInsOnly;
  builtInsOnly.RegisterBuiltIns();
  const Bytes sample = sample_.Save();
  EXPECT_EQ(nullptr, LoadGroup(sample.data(), sample.size(), builtInsOnly, &error));
  EXPECT_TRUE(Contains(error.reason, "unknown channel type")) << error.reason;
  ASSERT_TRUE(error.hasType);
  EXPECT_EQ("{5A17C0DE-0001-4000-8000-000000000001}", GuidToString(error.typeGuid));
  EXPECT_TRUE(
      Contains(error.Message(), "channel 2 ({5A17C0DE-0001-4000-8000-000000000001}), byte 121"))
      << error.Message();
}

TEST_F(GroupFileTest, LinkForASlotTheLoadedChannelDidNotDeclareIsAnError) {
  // The host's float channel does not save its declarations, so a link it
  // had when saved has no slot after loading.
  Aco_FloatChannel parent;
  Aco_FloatChannel child;
  parent.SetChannelName("p");
  parent.SetChildCreateType(ChildCreation(), 0);
  parent.LinkChild(0, &child);
  GroupFileError error = LoadFails(Save("G", {&parent, &child}));
  EXPECT_EQ(0, error.channel);
  // Header 22, GUID 16, float state 5, section length 4, "CHNAME" "p" 13,
  // link count 4: then the first link entry.
  EXPECT_EQ(22u + 16 + 5 + 4 + 13 + 4, error.offset);
  EXPECT_TRUE(Contains(error.reason, "did not declare")) << error.reason;
}

TEST_F(GroupFileTest, TypeWhoseModuleMakesNoChannelIsAnError) {
  ChannelTypeRegistry failing;
  failing.RegisterBuiltIns();
  failing.Register(PairChannel().GetChannelType(), [] { return std::unique_ptr<A3d_Channel>(); });
  GroupFileError error;
  EXPECT_EQ(nullptr, LoadGroup(bytes_.data(), bytes_.size(), failing, &error));
  EXPECT_EQ(2, error.channel);
  EXPECT_TRUE(Contains(error.reason, "made no channel")) << error.reason;
}

TEST_F(GroupFileTest, ChannelThatReadsLessThanItsSectionDoesNotDerailTheNext) {
  SloppyChannel sloppy;
  sloppy.SetFloat(7.0f);
  Aco_StringChannel next;
  next.SetChannelName("second");
  next.SetString("still here");
  std::unique_ptr<LoadedGroup> loaded = RoundTrip("G", {&sloppy, &next});
  ASSERT_NE(nullptr, loaded);
  EXPECT_NE(nullptr, dynamic_cast<SloppyChannel*>(loaded->Channel(0)));
  EXPECT_EQ(std::vector<std::string>({"group 'G'", "- 7", "'second' 'still here' -"}),
            Describe(*loaded));
}

}  // namespace
