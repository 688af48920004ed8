// Saving and loading ontology item channels, their dependencies and their
// automatic name.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tests/ontology_item/TestModel.h"

namespace {

using Record = std::pair<std::string, std::string>;  // tag, data bytes
using Link = Aco_QAXOntologyItem::LinkDescription;

// Every record of `bytes`, in order.
std::vector<Record> Records(const std::vector<unsigned char>& bytes) {
  A3dFileLoader loader(bytes.data(), bytes.size());
  std::vector<Record> records;
  std::string tag;
  while (loader.PeekRecord(&tag, nullptr) && loader.GetInfoIfTag(tag.c_str())) {
    std::string data(loader.GetSizeDataBlock(false), '\0');
    loader.CopyTagDataToPointer(data.empty() ? nullptr : &data[0]);
    records.emplace_back(tag, data);
  }
  EXPECT_TRUE(loader.AtEnd());
  return records;
}

// Appends one record to `saver`.
void Put(A3dFileSaver& saver, const char* tag, const std::string& data) {
  saver.SaveTag(tag);
  saver.SaveBlockSize(static_cast<unsigned long>(data.size()));
  saver.SaveDataToFile(data.data(), static_cast<unsigned long>(data.size()));
}

// The records that precede the channel's own: name, mode and naming flag.
void PutBaseRecords(A3dFileSaver& saver) {
  Put(saver, "CHNAME", std::string("n\0", 2));
  Put(saver, "MODE", std::string("\xFF\xFF\xFF\xFF", 4));
  Put(saver, "UACN", std::string("\x01", 1));
}

std::string U32(unsigned int value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return bytes;
}

class Persistence : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }

  void PrepareChild(Aco_QAXOntologyItem& channel) {
    Aco_QAXOntologyItem::SelectedLibrary = model_.library();
    Aco_QAXOntologyItem::SelectedClass = model_.child();
    channel.PrepareLinks(true);
    channel.SetClassHandle("urn:lib:Child");
  }

  static std::vector<unsigned char> Save(Aco_QAXOntologyItem& channel) {
    A3dFileSaver saver;
    EXPECT_TRUE(channel.SaveChannel(saver));
    EXPECT_TRUE(saver.Ok());
    return saver.Data();
  }

  qax_test::TestModel model_;
};

TEST_F(Persistence, WritesItsRecordsBehindTheMultiModeRecords) {
  Aco_QAXOntologyItem channel;
  Aco_QAXOntologyItem::SelectedLibrary = model_.library();
  Aco_QAXOntologyItem::SelectedClass = model_.parent();
  channel.PrepareLinks(true);
  channel.SetClassHandle("urn:lib:Parent");
  const std::vector<Record> expected = {
      {"CHNAME", std::string("QAXOntologyItem\0", 16)},
      {"MODE", "\xFF\xFF\xFF\xFF"},
      {"UACN", "\x01"},
      {"CID", "urn:lib:Parent"},
      {"CHILDSIZE", U32(4)},
      {"CHILDNAMETYPE", std::string("Text\0", 5)},
      {"CHILDNAME", std::string("lib.r_text\0", 11)},
      {"CHILDNAMETYPE", std::string("Value\0", 6)},
      {"CHILDNAME", std::string("lib.r_bool\0", 11)},
      {"CHILDNAMETYPE", std::string("Value\0", 6)},
      {"CHILDNAME", std::string("lib.p_int\0", 10)},
      {"CHILDNAMETYPE", std::string("Value\0", 6)},
      {"CHILDNAME", std::string("lib.p_real\0", 11)},
  };
  EXPECT_EQ(expected, Records(Save(channel)));
}

TEST_F(Persistence, AChannelWithoutClassAndLinksWritesOnlyAZeroCount) {
  Aco_QAXOntologyItem channel;
  const std::vector<Record> records = Records(Save(channel));
  ASSERT_EQ(4u, records.size());
  EXPECT_EQ(Record("CHILDSIZE", U32(0)), records[3]);

  Aco_QAXOntologyItem loaded;
  A3dFileLoader loader(Save(channel));
  ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
  EXPECT_TRUE(loader.AtEnd());
  EXPECT_EQ("", loaded.GetClassHandle());
  EXPECT_EQ(0, loaded.GetChildCount());
}

TEST_F(Persistence, RoundTripRestoresClassHandleDescriptionsAndDeclaredLinks) {
  Aco_QAXOntologyItem source;
  PrepareChild(source);
  Aco_QAXOntologyItem loaded;
  A3dFileLoader loader(Save(source));
  ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
  EXPECT_TRUE(loader.AtEnd());
  EXPECT_EQ("urn:lib:Child", loaded.GetClassHandle());
  EXPECT_EQ(source.GetLinkDescriptions(), loaded.GetLinkDescriptions());
  ASSERT_EQ(8, loaded.GetChildCount());
  const std::string guids[] = {
      "{6E6FB247-4627-4FBE-8973-48344F23881E}", "{BE69CCC4-CFC1-4362-AC81-767D199BBFC3}",
      "{BE69CCC4-CFC1-4362-AC81-767D199BBFC3}", "{BE69CCC4-CFC1-4362-AC81-767D199BBFC3}",
      "{6E6FB247-4627-4FBE-8973-48344F23881E}", "{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}",
      "{11111111-1111-1111-1111-111111111111}", "{6E6FB247-4627-4FBE-8973-48344F23881E}"};
  for (int i = 0; i < 8; ++i) {
    const ChildCreation* record = loaded.GetChildCreation(i);
    EXPECT_EQ(i, record->Index);  // also for the link of unknown kind
    EXPECT_EQ(guids[i], GuidToString(record->Type.TypeGuid)) << i;
    EXPECT_EQ("{11111111-1111-1111-1111-111111111111}", GuidToString(record->Type.BaseGuid));
    EXPECT_EQ(source.GetLinkDescriptions()[i].first, record->Type.Name);
    EXPECT_EQ(source.GetLinkDescriptions()[i].second, record->LinkName);
    EXPECT_EQ(1, record->LinkParam);
  }
  // The loaded channel builds items like the source.
  EXPECT_NE(nullptr, loaded.GetOntologyItem(true));
}

TEST_F(Persistence, TypeNamesOfOtherKindsComeBackWithTheDefaultGuid) {
  A3dFileSaver saver;
  PutBaseRecords(saver);
  Put(saver, "CHILDSIZE", U32(2));
  Put(saver, "CHILDNAMETYPE", std::string("Matrix\0", 7));
  Put(saver, "CHILDNAME", std::string("m\0", 2));
  Put(saver, "CHILDNAMETYPE", std::string("Value Vector\0", 13));
  Put(saver, "CHILDNAME", std::string("v\0", 2));
  Aco_QAXOntologyItem channel;
  A3dFileLoader loader(saver.Data());
  ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
  ASSERT_EQ(2, channel.GetChildCount());
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ("{11111111-1111-1111-1111-111111111111}",
              GuidToString(channel.GetChildCreation(i)->Type.TypeGuid));
  }
  EXPECT_STREQ("Value Vector", channel.GetChildCreation(1)->Type.Name);
}

TEST_F(Persistence, MissingPairsRepeatThePreviousTextsAndStillCount) {
  A3dFileSaver saver;
  PutBaseRecords(saver);
  Put(saver, "CHILDSIZE", U32(3));
  Put(saver, "CHILDNAME", std::string("only a name\0", 12));
  Put(saver, "CHILDNAMETYPE", std::string("Text\0", 5));
  Aco_QAXOntologyItem channel;
  A3dFileLoader loader(saver.Data());
  ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
  const std::vector<Link> expected = {
      {"", "only a name"}, {"Text", "only a name"}, {"Text", "only a name"}};
  EXPECT_EQ(expected, channel.GetLinkDescriptions());
  EXPECT_EQ(3, channel.GetChildCount());
}

TEST_F(Persistence, AFileWithoutClassHandleKeepsTheChannelsAndReplacesItsLinks) {
  Aco_QAXOntologyItem empty;
  Aco_QAXOntologyItem channel;
  PrepareChild(channel);
  A3dFileLoader loader(Save(empty));
  ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
  EXPECT_EQ("urn:lib:Child", channel.GetClassHandle());
  EXPECT_TRUE(channel.GetLinkDescriptions().empty());
  EXPECT_EQ(0, channel.GetChildCount());
}

TEST_F(Persistence, ClassHandlesUpTo255CharactersSurviveAndLongerOnesAreCut) {
  for (std::size_t length : {std::size_t{255}, std::size_t{256}, std::size_t{1000}}) {
    Aco_QAXOntologyItem source;
    source.SetClassHandle(std::string(length, 'h'));
    Aco_QAXOntologyItem loaded;
    A3dFileLoader loader(Save(source));
    ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
    EXPECT_EQ(std::string(255, 'h'), loaded.GetClassHandle()) << length;
    EXPECT_TRUE(loader.AtEnd());
  }
}

TEST_F(Persistence, TextsWithoutTheirZeroByteKeepAllTheirBytes) {
  A3dFileSaver saver;
  PutBaseRecords(saver);
  Put(saver, "CID", std::string("a\0b", 3));
  Put(saver, "CHILDSIZE", U32(1));
  Put(saver, "CHILDNAMETYPE", "Text");
  Put(saver, "CHILDNAME", "");
  Aco_QAXOntologyItem channel;
  A3dFileLoader loader(saver.Data());
  ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
  EXPECT_EQ("a", channel.GetClassHandle());
  const std::vector<Link> expected = {{"Text", ""}};
  EXPECT_EQ(expected, channel.GetLinkDescriptions());
}

TEST_F(Persistence, ACountBeyondTheLinkLimitIsUnusableAndReported) {
  A3dFileSaver saver;
  PutBaseRecords(saver);
  Put(saver, "CHILDSIZE", U32(4000000000u));
  Aco_QAXOntologyItem channel;
  PrepareChild(channel);
  A3dFileLoader loader(saver.Data());
  ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
  EXPECT_TRUE(channel.GetLinkDescriptions().empty());
  EXPECT_EQ(0, channel.GetChildCount());
  ASSERT_EQ(1u, globalEngine->ShowDebugMessage.Shown().size());
  EXPECT_EQ("Aco_QAXOntologyItem::LoadChannel().ChildSizeTooLarge.Count[4000000000]",
            globalEngine->ShowDebugMessage.Shown()[0]);
}

TEST_F(Persistence, ACountOfTheWrongSizeIsSkippedAndGivesNoLinks) {
  A3dFileSaver saver;
  PutBaseRecords(saver);
  Put(saver, "CHILDSIZE", "\x02\x00");
  Put(saver, "CHILDNAMETYPE", std::string("Text\0", 5));
  Aco_QAXOntologyItem channel;
  A3dFileLoader loader(saver.Data());
  ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
  EXPECT_EQ(0, channel.GetChildCount());
}

TEST_F(Persistence, AFailingBaseLoadOrSaveChangesNothing) {
  Aco_QAXOntologyItem channel;
  PrepareChild(channel);
  A3dFileLoader empty(nullptr, 0);
  EXPECT_FALSE(channel.LoadChannel(empty, nullptr));
  EXPECT_EQ("urn:lib:Child", channel.GetClassHandle());
  EXPECT_EQ(8, channel.GetChildCount());

  A3dFileSaver refusing;
  refusing.RefuseTag("CHNAME");
  EXPECT_FALSE(channel.SaveChannel(refusing));
  EXPECT_TRUE(refusing.Data().empty());
}

TEST_F(Persistence, DeclaresItsEightDependenciesInOrder) {
  Aco_QAXOntologyItem channel;
  A3d_List list;
  channel.DoDependencyInit(&list);
  using Kind = A3d_List::Entry::Kind;
  ASSERT_EQ(8u, list.Entries().size());
  const Kind kinds[] = {Kind::ChannelGuid, Kind::Dll, Kind::Dll, Kind::Core,
                        Kind::ChannelGuid, Kind::Dll, Kind::Dll, Kind::Core};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(kinds[i], list.Entries()[i].kind) << i;
  EXPECT_EQ("{6B9BDE34-8AC5-11DF-94AA-11F5DED72085}", GuidToString(list.Entries()[0].guid));
  EXPECT_EQ("{BE69CCC4-CFC1-4362-AC81-767D199BBFC3}", GuidToString(list.Entries()[4].guid));
  for (int i : {1, 5}) EXPECT_EQ("CoreQAX.dll", list.Entries()[i].dllName);
  for (int i : {2, 6}) EXPECT_EQ("QAX.dll", list.Entries()[i].dllName);
}

TEST_F(Persistence, NamesItselfAfterItsClassHandle) {
  Aco_QAXOntologyItem channel;
  channel.SetAutoChannelName();
  EXPECT_STREQ("OItem:unknown", channel.GetChannelName());
  channel.SetClassHandle("Person");
  channel.SetAutoChannelName();
  EXPECT_STREQ("OItem:Person", channel.GetChannelName());
}

}  // namespace
