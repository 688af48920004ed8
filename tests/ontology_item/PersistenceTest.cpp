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

class Persistence : public qax_test::ItemTest {
 protected:
  static std::vector<unsigned char> Save(Aco_QAXOntologyItem& channel) {
    A3dFileSaver saver;
    EXPECT_TRUE(channel.SaveChannel(saver));
    EXPECT_TRUE(saver.Ok());
    return saver.Data();
  }
};

TEST_F(Persistence, WritesItsRecordsBehindTheMultiModeRecords) {
  Aco_QAXOntologyItem channel;
  Prepare(channel, model_.parent());
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

  // Without class and links only a zero count follows.
  Aco_QAXOntologyItem empty;
  const std::vector<Record> records = Records(Save(empty));
  ASSERT_EQ(4u, records.size());
  EXPECT_EQ(Record("CHILDSIZE", U32(0)), records[3]);
}

TEST_F(Persistence, RoundTripRestoresClassHandleDescriptionsAndDeclaredLinks) {
  Aco_QAXOntologyItem source;
  Prepare(source, model_.child());
  Aco_QAXOntologyItem loaded;
  A3dFileLoader loader(Save(source));
  ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
  EXPECT_TRUE(loader.AtEnd());
  EXPECT_EQ("urn:lib:Child", loaded.GetClassHandle());
  EXPECT_EQ(source.GetLinkDescriptions(), loaded.GetLinkDescriptions());
  ASSERT_EQ(8, loaded.GetChildCount());
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const ChildCreation* before = source.GetChildCreation(i);
    const ChildCreation* after = loaded.GetChildCreation(i);
    EXPECT_EQ(i, after->Index);  // also for the link of unknown kind
    EXPECT_EQ(GuidToString(before->Type.TypeGuid), GuidToString(after->Type.TypeGuid));
    EXPECT_EQ(GuidToString(before->Type.BaseGuid), GuidToString(after->Type.BaseGuid));
    EXPECT_STREQ(before->Type.Name, after->Type.Name);
    EXPECT_STREQ(before->LinkName, after->LinkName);
    EXPECT_EQ(1, after->LinkParam);
  }
  // The loaded channel builds items like the source.
  EXPECT_NE(nullptr, loaded.GetOntologyItem(true));
}

TEST_F(Persistence, LoadingTakesWhatTheRecordsGiveAndReplacesTheLinks) {
  struct Case {
    const char* what;
    std::vector<Record> records;  // behind name, mode and naming flag
    std::string classHandle;      // of a channel prepared for Child before
    std::vector<Link> links;
  };
  const Case cases[] = {
      {"no class handle, no links", {{"CHILDSIZE", U32(0)}}, "urn:lib:Child", {}},
      // Missing pairs repeat the previous texts and still count.
      {"missing pairs",
       {{"CID", "c"},
        {"CHILDSIZE", U32(3)},
        {"CHILDNAME", std::string("only a name\0", 12)},
        {"CHILDNAMETYPE", std::string("Text\0", 5)}},
       "c",
       {{"", "only a name"}, {"Text", "only a name"}, {"Text", "only a name"}}},
      // Texts without their zero byte keep all their bytes.
      {"texts without zero byte",
       {{"CID", std::string("a\0b", 3)},
        {"CHILDSIZE", U32(1)},
        {"CHILDNAMETYPE", "Text"},
        {"CHILDNAME", ""}},
       "a",
       {{"Text", ""}}},
      {"count of the wrong size",
       {{"CHILDSIZE", "\x02\x00"}, {"CHILDNAMETYPE", std::string("Text\0", 5)}},
       "urn:lib:Child",
       {}},
      // Other kinds come back with the any-type GUID.
      {"other kinds",
       {{"CHILDSIZE", U32(2)},
        {"CHILDNAMETYPE", std::string("Matrix\0", 7)},
        {"CHILDNAME", std::string("m\0", 2)},
        {"CHILDNAMETYPE", std::string("Value Vector\0", 13)},
        {"CHILDNAME", std::string("v\0", 2)}},
       "urn:lib:Child",
       {{"Matrix", "m"}, {"Value Vector", "v"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    A3dFileSaver saver;
    PutBaseRecords(saver);
    for (const Record& record : c.records) Put(saver, record.first.c_str(), record.second);
    Aco_QAXOntologyItem channel;
    Prepare(channel, model_.child());
    A3dFileLoader loader(saver.Data());
    ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
    EXPECT_EQ(c.classHandle, channel.GetClassHandle());
    EXPECT_EQ(c.links, channel.GetLinkDescriptions());
    ASSERT_EQ(static_cast<int>(c.links.size()), channel.GetChildCount());
    for (int i = 0; i < channel.GetChildCount(); ++i) {
      EXPECT_STREQ(c.links[i].first.c_str(), channel.GetChildCreation(i)->Type.Name);
      if (c.links[i].first != "Text") {
        EXPECT_EQ("{11111111-1111-1111-1111-111111111111}",
                  GuidToString(channel.GetChildCreation(i)->Type.TypeGuid));
      }
    }
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(Persistence, ClassHandlesUpTo255CharactersSurviveAndLongerOnesAreCut) {
  for (std::size_t length : {std::size_t{255}, std::size_t{256}, std::size_t{1000}}) {
    SCOPED_TRACE(length);
    Aco_QAXOntologyItem source;
    source.SetClassHandle(std::string(length, 'h'));
    Aco_QAXOntologyItem loaded;
    A3dFileLoader loader(Save(source));
    ASSERT_TRUE(loaded.LoadChannel(loader, nullptr));
    EXPECT_EQ(std::string(255, 'h'), loaded.GetClassHandle());
    EXPECT_TRUE(loader.AtEnd());
  }
}

TEST_F(Persistence, ACountBeyondTheLinkLimitIsUnusableAndReported) {
  A3dFileSaver saver;
  PutBaseRecords(saver);
  Put(saver, "CHILDSIZE", U32(4000000000u));
  Aco_QAXOntologyItem channel;
  Prepare(channel, model_.child());
  A3dFileLoader loader(saver.Data());
  ASSERT_TRUE(channel.LoadChannel(loader, nullptr));
  EXPECT_TRUE(channel.GetLinkDescriptions().empty());
  EXPECT_EQ(0, channel.GetChildCount());
  EXPECT_EQ(
      std::vector<std::string>{
          "Aco_QAXOntologyItem::LoadChannel().ChildSizeTooLarge.Count[4000000000]"},
      Shown());
}

TEST_F(Persistence, AFailingBaseLoadOrSaveChangesNothing) {
  Aco_QAXOntologyItem channel;
  Prepare(channel, model_.child());
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
