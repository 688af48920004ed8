// Channel group files: channels made by type (the module's among them),
// groups saved to bytes and files and loaded back, files of the first format
// version, and truncated or damaged files, each of which is an error naming
// the file, the channel, the byte and the reason, never a half-loaded group.
#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/Crc32c.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/HighPoly.h"
#include "host/sdk/ModuleLoader.h"
#include "tests/support/BinFiles.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Like a module's channel, saves how many links it declares ("LINKS") and
// declares them again on load. Given `extra`, it saves a record more than it
// loads, as a newer version of a type would.
class PairChannel : public A3d_Channel {
 public:
  static constexpr _GUID kTypeGuid = {0x5A17C0DE, 1, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 1}};
  explicit PairChannel(int links = 0, const char* extra = nullptr) : extra_(extra) {
    ChannelType type;
    std::strcpy(type.Name, "Pair");
    type.TypeGuid = type.BaseGuid = kTypeGuid;
    SetChannelType(type);
    for (int i = 0; i < links; ++i) SetChildCreateType(ChildCreation(), i);
  }
  bool SaveChannel(A3dFileSaver& saver) override {
    const unsigned char count[4] = {static_cast<unsigned char>(GetChildCount()), 0, 0, 0};
    if (!A3d_Channel::SaveChannel(saver) || saver.SaveTag("LINKS") == 0) return false;
    saver.SaveBlockSize(4);
    saver.SaveDataToFile(count, 4);
    return extra_ == nullptr ||
           (saver.SaveTag(extra_) != 0 && saver.SaveBlockSize(1) && saver.SaveDataToFile("x", 1));
  }
  bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override {
    unsigned char count[4];
    if (!A3d_Channel::LoadChannel(loader, group) || !loader.GetInfoIfTag("LINKS")) return false;
    loader.CopyTagDataToPointer(count);
    for (int i = 0; i < count[0]; ++i) SetChildCreateType(ChildCreation(), i);
    return true;
  }
  const char* extra_;
};

// Offsets in the sample group's 216 bytes (see docs/group-files.md).
constexpr std::size_t kChannelCount = 25, kSpeedGuid = 37, kSpeedHostState = 53,
                      kSpeedSectionLength = 58, kSpeedRecords = 62, kSpeedLinkCount = 79,
                      kLabelGuid = 91, kLabelHostState = 107, kLabelTextFlag = 108,
                      kPairLinkCount = 196, kPairLink1 = 208, kSampleSize = 216;

std::uint32_t U32At(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | b[at + 3] << 24);
}
void PutU32(Bytes& b, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// Computes every checksum again from the lengths as they stand, so that a
// deliberate corruption reaches the checks behind the checksums.
void Reseal(Bytes& b) {
  if (b.size() < 16) return;
  std::size_t end = 16 + U32At(b, 12);
  if (end + 4 > b.size()) return;
  PutU32(b, end, Crc32c(b.data(), end));
  for (std::size_t at = end + 4; at + 4 <= b.size(); at += 8 + U32At(b, at)) {
    const std::size_t length = U32At(b, at);
    if (at + 8 + length > b.size()) return;
    PutU32(b, at + 4 + length, Crc32c(b.data() + at, 4 + length));
  }
}

class GroupFileTest : public ::testing::Test {
 protected:
  // The group "Demo": float "Speed" 2.5, text "Label" "hi", and a pair
  // linking both; the registry knows the host's types, the pair's and the
  // module's.
  void SetUp() override {
    const qaxoi::Status opened =
        ChannelModule::Open(qaxoi::test::BinPath(qaxoi::test::kModuleFile), &module_);
    ASSERT_TRUE(opened.ok()) << opened.message();
    ASSERT_TRUE(registry_.RegisterModule(*module_));
    registry_.RegisterBuiltIns();
    registry_.Register(pair_.GetChannelType(), [] { return std::make_unique<PairChannel>(); });
    speed_.SetChannelName("Speed");
    speed_.SetFloat(2.5f);
    label_.SetChannelName("Label");
    label_.SetString("hi");
    pair_.SetChannelName("Pair");
    pair_.LinkChild(0, &speed_);
    pair_.LinkChild(1, &label_);
    bytes_ = Save("Demo", {&speed_, &label_, &pair_});
    std::random_device random;
    do {
      folder_ =
          (std::filesystem::temp_directory_path() / ("group-file-" + std::to_string(random())))
              .string();
    } while (!std::filesystem::create_directory(folder_));
    path_ = folder_ + "/demo.grp";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  static Bytes Save(const char* name, const std::vector<A3d_Channel*>& channels) {
    Bytes bytes;
    const qaxoi::Status saved = SaveGroup(name, channels, &bytes);
    EXPECT_TRUE(saved.ok()) << saved.message();
    return bytes;
  }
  std::unique_ptr<LoadedGroup> Load(const Bytes& bytes) {
    std::unique_ptr<LoadedGroup> loaded;
    const qaxoi::Status status = LoadGroup(bytes.data(), bytes.size(), registry_, &loaded);
    EXPECT_TRUE(status.ok()) << status.message();
    return loaded;
  }
  // The failure as its fields; the status says the same in its message.
  GroupFileError LoadFails(const Bytes& bytes) {
    GroupFileError error;
    std::unique_ptr<LoadedGroup> loaded;
    const qaxoi::Status status = LoadGroup(bytes.data(), bytes.size(), registry_, &loaded, &error);
    EXPECT_EQ(nullptr, loaded);
    EXPECT_EQ(qaxoi::Status::Code::kInvalidInput, status.code());
    EXPECT_EQ(error.Message(), status.message());
    return error;
  }

  // The file's bytes, and the names in the folder, where no temporary is left.
  std::string Contents() const {
    std::ifstream in(path_, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
      text += "|" + entry.path().filename().string();
    return text;
  }

  // Declared first: every channel below is destroyed before the module.
  std::unique_ptr<ChannelModule> module_;
  ChannelTypeRegistry registry_;
  Aco_FloatChannel speed_;
  Aco_StringChannel label_;
  PairChannel pair_{2};
  Bytes bytes_;
  std::string folder_, path_;  // a scratch folder, its file demo.grp
};

TEST_F(GroupFileTest, ValuesNamesTextsAndLinksSurviveAndSaveToTheSameBytes) {
  Aco_FloatChannel value;
  value.SetFloat(-0.375f);
  Aco_ValueVectorChannel vector;
  vector.SetChannelName("");
  vector.SetVector(D3DXVECTOR3{1.5f, -2.0f, 1e-30f});
  Aco_MatrixChannel matrix;
  D3DXMATRIX m;
  for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = static_cast<float>(i) * 0.5f - 3.0f;
  matrix.SetMatrix(m);
  Aco_StringChannel nulls, mixed;
  mixed.SetString("caf\xC3\xA9");
  mixed.SetWString(L"\u00FC\u20AC\U0001F600");
  // The parent loads before its children exist; the late one, whose extra
  // record must not derail the next channel, links back and to itself.
  PairChannel parent(4), late(2, "EXTRA");
  parent.LinkChild(0, &late);
  parent.LinkChild(2, &value);  // slots 1 and 3 stay empty
  late.LinkChild(0, &parent);
  late.LinkChild(1, &late);
  const Bytes bytes = Save(nullptr, {&parent, &value, &vector, &matrix, &nulls, &late, &mixed});
  std::unique_ptr<LoadedGroup> loaded = Load(bytes);
  ASSERT_NE(nullptr, loaded);
  ASSERT_EQ(7u, loaded->ChannelCount());
  const std::vector<A3d_Channel*> c = loaded->Channels();
  EXPECT_EQ(std::vector<A3d_Channel*>({c[5], nullptr, c[1], nullptr, c[0], c[5]}),
            std::vector<A3d_Channel*>({c[0]->GetChild(0), c[0]->GetChild(1), c[0]->GetChild(2),
                                       c[0]->GetChild(3), c[5]->GetChild(0), c[5]->GetChild(1)}));
  EXPECT_EQ(loaded->Group(), c[3]->GetChannelGroup());
  // Every value read as written: the loaded group saves to the same bytes.
  static_cast<PairChannel*>(c[5])->extra_ = "EXTRA";
  EXPECT_EQ(bytes, Save(nullptr, c));
  ASSERT_EQ(kSampleSize, bytes_.size());
  EXPECT_EQ(bytes_, Save("Demo", Load(bytes_)->Channels()));
}

TEST_F(GroupFileTest, EveryTruncationAndEveryBitFlipIsRefused) {
  for (std::size_t size = 0; size < bytes_.size(); ++size) {
    // Exactly `size` bytes, so that the sanitizer sees any read beyond.
    const Bytes cut(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_LE(LoadFails(cut).offset, size);
  }
  for (std::size_t bit = 0; bit < bytes_.size() * 8; ++bit) {
    Bytes damaged = bytes_;
    damaged[bit / 8] ^= static_cast<unsigned char>(1u << bit % 8);
    ASSERT_EQ(0u, LoadFails(damaged).Message().rfind("group file", 0)) << "bit " << bit;
  }
}

TEST_F(GroupFileTest, DamageIsReportedAtItsOffsetWithChannelAndReason) {
  const auto put = [](std::size_t offset, std::uint32_t value) {
    return [=](Bytes& b) { PutU32(b, offset, value); };
  };
  const struct {
    std::function<void(Bytes&)> corrupt;
    std::size_t offset;
    int channel;
    const char* reason;
    bool resealed = true;  // false: the checksums must see the damage
  } cases[] = {
      // A text-mode transfer that turned "\r\n" into "\n".
      {[](Bytes& b) { b.erase(b.begin() + 6); }, 0, -1, "wrong magic"},
      {put(8, 3), 8, -1, "version 3 is newer"},
      {put(12, 0x10000), 12, -1, "header of 65536 bytes and its checksum run past"},
      {put(12, 14), 29, -1, "1 byte of the header follows its channel count"},
      {put(kChannelCount, 0xFFFFFFFF), kChannelCount, -1, "channels cannot fit"},
      {put(kChannelCount, 4), kSampleSize, 3, "ends inside the channel's entry length"},
      {[](Bytes& b) { b.push_back(0); }, kSampleSize, -1, "1 unexpected byte follows"},
      {[](Bytes& b) { b[kSpeedHostState] = 9; }, kSpeedHostState, 0, "unknown host state kind 9"},
      {[](Bytes& b) { b[kLabelTextFlag] = 2; }, kLabelTextFlag, 1, "is 2, neither 0"},
      // The text channel's entry claims the float type.
      {[](Bytes& b) {
         std::copy(b.begin() + kSpeedGuid, b.begin() + kSpeedHostState, b.begin() + kLabelGuid);
       },
       kLabelHostState, 1, "kind text, but a channel of this type holds float"},
      {put(kSpeedSectionLength, 16), kSpeedRecords, 0, "does not fit in the channel's section"},
      {put(kSpeedLinkCount, 1000000), kSpeedLinkCount, 0, "links cannot fit"},
      {put(kPairLink1, 3), kPairLink1, 2, "link 1 names channel 3"},
      {[](Bytes& b) { b[kSpeedRecords] = 'X'; }, kSpeedRecords, 0,
       "stopped at record \"XHNAME\" of 6 bytes"},
      // The pair declares one link on load, but the file holds two.
      {[](Bytes& b) { b[kPairLinkCount] = 1; }, kPairLink1, 2,
       "link 1 is for a slot the channel did not declare (it declares 1 link)"},
      // Damage within intact lengths is named by the part whose checksum
      // caught it (a channel's: see below).
      {[](Bytes& b) { b[16] ^= 0x80; }, 0, -1, "the header's checksum does not match", false},
  };
  for (const auto& c : cases) {
    Bytes bytes = bytes_;
    c.corrupt(bytes);
    if (c.resealed) Reseal(bytes);
    const GroupFileError error = LoadFails(bytes);
    EXPECT_EQ(c.offset, error.offset) << error.Message();
    EXPECT_EQ(c.channel, error.channel) << error.Message();
    EXPECT_NE(std::string::npos, error.reason.find(c.reason)) << error.reason;
  }
}

// A loaded group as one line per channel: type, name, float value or text,
// and the positions its links name.
std::string Described(const LoadedGroup& group) {
  std::ostringstream text;
  const std::vector<A3d_Channel*> channels = group.Channels();
  for (A3d_Channel* channel : channels) {
    text << channel->GetChannelType().Name << " '" << channel->GetChannelName() << "'";
    if (auto* value = dynamic_cast<Aco_FloatChannel*>(channel)) text << ' ' << value->GetFloat();
    if (auto* label = dynamic_cast<Aco_StringChannel*>(channel))
      text << " \"" << label->GetString() << '"';
    for (int link = 0; link < channel->GetChildCount(); ++link) {
      const auto at = std::find(channels.begin(), channels.end(), channel->GetChild(link));
      text << ' ' << (at == channels.end() ? "-" : std::to_string(at - channels.begin()));
    }
    text << '\n';
  }
  return text.str();
}

TEST_F(GroupFileTest, Version1FilesLoadAsTheyDidAndAreRewrittenAsVersion2) {
  std::unique_ptr<LoadedGroup> old;
  const qaxoi::Status loaded =
      LoadGroupFromFile(QAX_TEST_DATA_DIR "/penguin-v1.grp", registry_, &old);
  ASSERT_TRUE(loaded.ok()) << loaded.message();
  const std::string held =
      "QAXOntologyItem 'OItem:http://example.org/zoo#Penguin' 0 1 2 - 3 4 5 - -\n"
      "Value 'alive' 1\n"
      "Text 'name' \"Pingu\"\n"
      "Value 'legs' 2\n"
      "Value 'weight' 4.5\n"
      "QAXOntologyItem 'habitat' 0 - 6\n"
      "Text 'placeName' \"Ross Sea\"\n";
  EXPECT_EQ(held, Described(*old));
  const Bytes rewritten = Save("qax-host", old->Channels());
  EXPECT_EQ(2, rewritten.at(8));  // the format version
  std::unique_ptr<LoadedGroup> again = Load(rewritten);
  ASSERT_NE(nullptr, again);
  EXPECT_EQ(rewritten, Save("qax-host", again->Channels()));
}

#if !defined(_WIN32)
// Saves as "Demo" after `limit` has taken a right from the process; exits 0
// when the save failed, with its error on stderr.
void SaveLimited(void (*limit)(), const std::string& path,
                 const std::vector<A3d_Channel*>& channels) {
  limit();
  const qaxoi::Status saved = SaveGroupToFile(path, "Demo", channels);
  std::fprintf(stderr, "%s\n", saved.message().c_str());
  std::exit(saved.ok() ? 1 : 0);
}
// Files cannot grow beyond 4 KiB, as on a full disk; a write beyond fails.
void FullDisk() {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit size{4096, 4096};
  ::setrlimit(RLIMIT_FSIZE, &size);
}
#endif

TEST_F(GroupFileTest, SavingReplacesTheFileWholeOrLeavesItAndErrorsNameFileAndReason) {
  std::ofstream(path_) << "old";
#if !defined(_WIN32)
  ASSERT_EQ(0, ::chmod(path_.c_str(), 0600));
#endif
  const qaxoi::Status saved = SaveGroupToFile(path_, "Demo", {&speed_, &label_, &pair_});
  ASSERT_TRUE(saved.ok()) << saved.message();
  EXPECT_EQ(std::string(bytes_.begin(), bytes_.end()) + "|demo.grp", Contents());
#if !defined(_WIN32)
  struct stat info;
  ASSERT_EQ(0, ::stat(path_.c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 07777);  // the permissions are kept
#endif

  std::ofstream(path_) << "old";
  const qaxoi::Status refused = SaveGroupToFile(path_, "Demo", {&speed_, &pair_});
  EXPECT_EQ(0u, refused.message().find("cannot save '" + path_ + "': cannot save group 'Demo'"))
      << refused.message();
#if !defined(_WIN32)  // no file size limits to take on
  label_.SetString(std::string(1 << 20, 'x').c_str());
  EXPECT_EXIT(SaveLimited(FullDisk, path_, {&speed_, &label_, &pair_}),
              ::testing::ExitedWithCode(0),
              "cannot save .*demo\\.grp.: cannot write: File too large");
#endif
  EXPECT_EQ("old|demo.grp", Contents());
  GroupFileError error;
  std::unique_ptr<LoadedGroup> none;
  const qaxoi::Status missingFile =
      LoadGroupFromFile(folder_ + "/none.grp", registry_, &none, &error);
  EXPECT_EQ(qaxoi::Status::Code::kIoError, missingFile.code());
  EXPECT_EQ(error.Message(), missingFile.message());
  EXPECT_EQ(GroupFileError::kNoOffset, error.offset);
#if defined(_WIN32)  // the system's wording varies, its code does not
  const char* const missing = "none.grp': cannot read";
  EXPECT_NE(std::string::npos, error.Message().find("(error 2)")) << error.Message();
#else
  const char* const missing = "none.grp': No such file";
#endif
  EXPECT_NE(std::string::npos, error.Message().find(missing)) << error.Message();
  const qaxoi::Status damaged = LoadGroupFromFile(path_, registry_, &none, &error);
  EXPECT_EQ(qaxoi::Status::Code::kInvalidInput, damaged.code());
  EXPECT_EQ(0u, damaged.message().find("group file '" + path_ + "', byte 0: "))
      << damaged.message();
}

}  // namespace
