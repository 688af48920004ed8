// Channel types and a sample group for the tests of channel group files.
#ifndef QAX_TESTS_HOST_GROUPFILETESTCHANNELS_H_
#define QAX_TESTS_HOST_GROUPFILETESTCHANNELS_H_

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/HighPoly.h"

namespace group_file_test {

inline ChannelType MakeType(const char* name, const _GUID& guid) {
  ChannelType type;
  std::strncpy(type.Name, name, sizeof(type.Name) - 1);
  type.TypeGuid = guid;
  type.BaseGuid = guid;
  return type;
}

// A channel that is none of the host's value channels and, like a module's
// channel, saves its declared links ("LINKS", their count) and declares them
// again on load.
class PairChannel : public A3d_Channel {
 public:
  static constexpr _GUID kTypeGuid = {
      0x5A17C0DE, 0x0001, 0x4000, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
  static constexpr const char* kLinksTag = "LINKS";

  PairChannel() { SetChannelType(MakeType("Pair", kTypeGuid)); }

  void DeclareLinks(int count) {
    SetChildCreationCount(0);
    for (int i = 0; i < count; ++i) SetChildCreateType(ChildCreation(), i);
  }

  bool SaveChannel(A3dFileSaver& saver) override {
    if (!A3d_Channel::SaveChannel(saver)) return false;
    const std::uint32_t count = static_cast<std::uint32_t>(GetChildCount());
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(count & 0xFF), static_cast<unsigned char>((count >> 8) & 0xFF),
        static_cast<unsigned char>((count >> 16) & 0xFF), static_cast<unsigned char>(count >> 24)};
    if (saver.SaveTag(kLinksTag) == 0) return false;
    saver.SaveBlockSize(4);
    saver.SaveDataToFile(bytes, 4);
    return true;
  }

  bool LoadChannel(A3dFileLoader& loader, A3d_ChannelGroup* group) override {
    if (!A3d_Channel::LoadChannel(loader, group)) return false;
    if (!loader.GetInfoIfTag(kLinksTag) || loader.GetSizeDataBlock(false) != 4) return false;
    unsigned char bytes[4];
    loader.CopyTagDataToPointer(bytes);
    DeclareLinks(bytes[0] | (bytes[1] << 8));
    return true;
  }
};

// A float channel that saves one record more than it loads, as a newer
// version of a channel type would for an older reader.
class SloppyChannel : public Aco_FloatChannel {
 public:
  static constexpr _GUID kTypeGuid = {
      0x5A17C0DE, 0x0002, 0x4000, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02}};

  SloppyChannel() { SetChannelType(MakeType("Sloppy", kTypeGuid)); }

  bool SaveChannel(A3dFileSaver& saver) override {
    if (!Aco_FloatChannel::SaveChannel(saver)) return false;
    if (saver.SaveTag("EXTRA") == 0) return false;
    saver.SaveBlockSize(3);
    saver.SaveDataToFile("xyz", 3);
    return true;
  }
};

// The host's channels, PairChannel and SloppyChannel.
inline void RegisterTestTypes(ChannelTypeRegistry* registry) {
  registry->RegisterBuiltIns();
  registry->Register(PairChannel().GetChannelType(),
                     [] { return std::unique_ptr<A3d_Channel>(new PairChannel()); });
  registry->Register(SloppyChannel().GetChannelType(),
                     [] { return std::unique_ptr<A3d_Channel>(new SloppyChannel()); });
}

// The group "Demo": a float channel "Speed" (2.5), a text channel "Label"
// ("hi", wide text null) and a pair "Pair" linking them, in that order.
struct SampleGroup {
  SampleGroup() {
    speed.SetChannelName("Speed");
    speed.SetFloat(2.5f);
    label.SetChannelName("Label");
    label.SetString("hi");
    pair.SetChannelName("Pair");
    pair.DeclareLinks(2);
    pair.LinkChild(0, &speed);
    pair.LinkChild(1, &label);
  }

  std::vector<A3d_Channel*> Channels() { return {&speed, &label, &pair}; }

  std::vector<unsigned char> Save() {
    std::vector<unsigned char> bytes;
    std::string error;
    if (!SaveGroup("Demo", Channels(), &bytes, &error)) bytes.clear();
    return bytes;
  }

  Aco_FloatChannel speed;
  Aco_StringChannel label;
  PairChannel pair;
};

}  // namespace group_file_test

#endif  // QAX_TESTS_HOST_GROUPFILETESTCHANNELS_H_
