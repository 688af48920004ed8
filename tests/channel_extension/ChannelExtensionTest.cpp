// The channel extension through a float channel that uses the module's
// instantiation: link creation and the link name table, own names, link
// checks by base GUID, typed accessors and tagged values.
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel_extension/ChannelExtension.h"
#include "channel_extension/LinkTypes.h"
#include "host/sdk/HighPoly.h"
#include "tests/support/Records.h"

namespace {

using Texts = std::vector<std::string>;
using F = std::vector<float>;
using Bytes = std::vector<unsigned char>;
using qaxoi::test::Records, qaxoi::test::U32, qaxoi::test::Z;

class TestChannel : public Aco_FloatChannel, public ChannelExtension<Aco_FloatChannel> {
 public:
  using Extension = ChannelExtension<Aco_FloatChannel>;
  TestChannel() { CE_SetSelf(this); }
  using Extension::_lastChild, Extension::_linkNames, Extension::_matrixChild, Extension::_self;
  using Extension::_textChild, Extension::_vectorChild;
  using Extension::CreateGenericLink, Extension::CreateLink, Extension::CreateMatrixLink;
  using Extension::CreateStringLink, Extension::CreateValueLink, Extension::CreateVectorLink;
  using Extension::GetChildLinkErrorText, Extension::GetChildLinkInvalidText;
  using Extension::GetChildLinkName, Extension::SetChildLinkName;
  using Extension::ReadChannelValue, Extension::SaveChannelValue;
};

// A child that counts its evaluations.
class CountingChannel : public A3d_Channel {
 public:
  void CallChannel() override { ++calls; }
  int calls = 0;
};

std::string Message(const std::string& tail) {
  return "ChannelExtension<class Aco_FloatChannel>::" + tail;
}
ChannelType MakeType(const _GUID& typeGuid, const _GUID& baseGuid) {
  ChannelType type;
  type.TypeGuid = typeGuid;
  type.BaseGuid = baseGuid;
  return type;
}
F Floats(const D3DXVECTOR3& v) { return {v.x, v.y, v.z}; }
F Floats(const TolmMathLib::Vec2& v) { return {v.x, v.y}; }
F Floats(const D3DXMATRIX& m) { return F(&m.m[0][0], &m.m[0][0] + 16); }
D3DXMATRIX Counting(float start) {
  D3DXMATRIX m;
  for (int i = 0; i < 16; ++i) m.m[i / 4][i % 4] = start + static_cast<float>(i);
  return m;
}

class ExtensionTest : public ::testing::Test {
 protected:
  void SetUp() override { globalEngine->ShowDebugMessage.Clear(); }
  static const Texts& Shown() { return globalEngine->ShowDebugMessage.Shown(); }
  TestChannel channel_;
};

using LinkTable = ExtensionTest;

TEST_F(LinkTable, EachKindDeclaresItsTypeBehindTheExistingLinksUnderItsName) {
  channel_.CreateValueLink("value", 1, false);
  channel_.CreateVectorLink("vector", 2, false);
  channel_.CreateStringLink("text", 3, true);  // unindexed: Index -1, still a position
  channel_.CreateMatrixLink("matrix", 4, false);
  channel_.CreateGenericLink("any", 5, false);
  // Per link: type GUID and name, link name in the record and in the table,
  // Index and LinkParam.
  Texts links;
  for (int i = 0; i < channel_.GetChildCount(); ++i) {
    const ChildCreation* r = channel_.GetChildCreation(i);
    links.push_back(GuidToString(r->Type.TypeGuid) + " " + r->Type.Name + " '" + r->LinkName +
                    "' '" + channel_.GetChildLinkName(i) + "' " + std::to_string(r->Index) + " " +
                    std::to_string(r->LinkParam));
  }
  EXPECT_EQ(
      (Texts{"{BE69CCC4-CFC1-4362-AC81-767D199BBFC3} Value 'value' 'value' 0 1",
             "{9D045960-EAC2-4C40-9BBF-10F32F7FA305} Value Vector 'vector' 'vector' 1 2",
             "{6E6FB247-4627-4FBE-8973-48344F23881E} Text 'text' 'text' -1 3",
             "{2F605354-314D-4775-86E4-1F733550B227} Matrix 'matrix' 'matrix' 3 4",
             "{11111111-1111-1111-1111-111111111111} all types are accepted 'any' 'any' 4 5"}),
      links);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkTable, NamesAreVerbatimInTheTableCutInTheRecordsAndOutliveALinkReset) {
  channel_.CreateLink(kValueLinkGuid, std::string(200, 't').c_str(), std::string(200, 'n').c_str(),
                      1, false);
  channel_.CreateLink(kValueLinkGuid, nullptr, nullptr, 1, false);
  EXPECT_EQ(std::string(79, 't'), channel_.GetChildCreation(0)->Type.Name);
  EXPECT_EQ(std::string(99, 'n'), channel_.GetChildCreation(0)->LinkName);
  EXPECT_STREQ("", channel_.GetChildCreation(1)->LinkName);
  channel_.SetChildLinkName(3, "three");
  EXPECT_EQ(4u, channel_._linkNames.size());  // a name grows the table to its link, no further
  channel_.SetChildCreationCount(0);
  channel_.CreateValueLink("c", 1, false);
  channel_.SetChildLinkName(A3d_Channel::kMaxChildLinks, "x");  // the first link too many
  channel_.SetChildLinkName(4, nullptr);
  EXPECT_EQ((Texts{"c", "", "[none]", "three", ""}), channel_._linkNames);
  EXPECT_EQ("ChildLinkInvalid[three]", channel_.GetChildLinkInvalidText(3));
  EXPECT_EQ("ChildLinkError[c]", channel_.GetChildLinkErrorText(0));
  EXPECT_EQ((Texts{Message("CreateLink().TypeName"), Message("CreateLink().Name"),
                   Message("SetChildLinkName().link < kMaxLinkNames"),
                   Message("SetChildLinkName().name")}),
            Shown());
}

TEST_F(LinkTable, AnUnboundExtensionDeclaresNothingAndCannotBeBoundToNull) {
  channel_.CE_SetSelf(nullptr);
  EXPECT_EQ(&channel_, channel_._self);
  channel_._self = nullptr;  // as before the deriving class binds it
  channel_.CreateValueLink("a", 1, false);
  EXPECT_EQ(0, channel_.GetChildCount());
  EXPECT_FALSE(channel_.CE_IsChildLinked(0));
  EXPECT_STREQ("[no-name]", channel_.CE_GetOwnName());
  // The free helpers refuse a null channel the same way; a field of no
  // bytes, or none, is left alone.
  EXPECT_FALSE(ChannelBaseGuidMatch(nullptr, kValueLinkGuid));
  EXPECT_STREQ("", GetChannelGroupName(nullptr));
  char field[2] = {'a', 'b'};
  CopyFieldText(field, 0, "xy");
  CopyFieldText(nullptr, sizeof(field), "xy");
  EXPECT_EQ('a', field[0]);
  EXPECT_EQ(
      (Texts{Message("CE_SetSelf().self"), Message("CreateLink()._self"),
             "InvalidlLinkIndex.Link[0]", "ChannelBaseGuidMatch().ch", "GetChannelGroupName().ch"}),
      Shown());
  // Bound again in a group without a name, it names the group "[unknown]".
  A3d_ChannelGroup unnamed(nullptr);
  channel_.SetChannelGroup(&unnamed);
  channel_.CE_SetSelf(&channel_);
  EXPECT_STREQ("[unknown]", channel_.CE_GetOwnCGRName());
  channel_.SetChannelGroup(nullptr);
}

// Link checks and accessors on a vector, a matrix, a text and an empty
// generic link, with the children linked; the vector's type is derived from
// the vector type, so that it passes the check by base GUID.
class LinkAccess : public ExtensionTest {
 protected:
  static constexpr unsigned int kVector = 0, kMatrix = 1, kText = 2, kEmpty = 3;
  static constexpr _GUID kOther = {0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 8}};
  void SetUp() override {
    channel_.CreateVectorLink("v", 1, false);
    channel_.CreateMatrixLink("m", 1, false);
    channel_.CreateStringLink("t", 1, false);
    channel_.CreateGenericLink("g", 1, false);
    channel_.LinkChild(kVector, &vector_);
    channel_.LinkChild(kMatrix, &matrix_);
    channel_.LinkChild(kText, &text_);
    vector_.SetVector({1, 2, 3});
    vector_.SetChannelType(MakeType(kOther, kValueVectorLinkGuid));
    ExtensionTest::SetUp();
  }
  Aco_ValueVectorChannel vector_;
  Aco_MatrixChannel matrix_;
  Aco_StringChannel text_;
};

TEST_F(LinkAccess, LinkedChildIsNamedAndCalledAndAnEmptyLinkFailsSilently) {
  CountingChannel child;
  child.SetChannelName("Child");
  ASSERT_TRUE(channel_.LinkChild(kEmpty, &child));
  EXPECT_STREQ("Child", channel_.CE_GetLinkedChildName(kEmpty));
  EXPECT_TRUE(channel_.CE_CallChild(kEmpty));
  EXPECT_EQ(1, child.calls);
  channel_.LinkChild(kEmpty, nullptr);
  EXPECT_EQ(nullptr, channel_.CE_GetLinkedChildName(kEmpty));
  EXPECT_FALSE(channel_.CE_CallChild(kEmpty) || channel_.CE_IsChildLinked(kEmpty));
  // A child of the right base GUID but another class: like an empty link.
  A3d_Channel plain;
  plain.SetChannelType(MakeType(kValueVectorLinkGuid, kValueVectorLinkGuid));
  channel_.LinkChild(kEmpty, &plain);
  D3DXVECTOR3 v = {7, 8, 9};
  EXPECT_FALSE(channel_.CE_GetVector(v, kEmpty));
  EXPECT_EQ(F({7, 8, 9}), Floats(v));
  TolmMathLib::Vec2 xz{7, 8};
  EXPECT_FALSE(channel_.CE_GetVectorXZ(xz, kEmpty));
  EXPECT_EQ(F({7, 8}), Floats(xz));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(LinkAccess, VectorsAndMatricesAreReadWholeOrAsXZAndWrittenByEveryOverload) {
  EXPECT_EQ(F({1, 2, 3}), Floats(channel_.CE_GetVector(kVector, D3DXVECTOR3{9, 9, 9})));
  EXPECT_EQ(F({1, 3}), Floats(channel_.CE_GetVectorXZ(kVector, TolmMathLib::Vec2{9, 9})));
  EXPECT_TRUE(channel_.CE_SetVector(D3DXVECTOR3{1, 1, 1}, kVector));
  EXPECT_EQ(F({1, 1, 1}), Floats(vector_.GetVector()));
  EXPECT_TRUE(channel_.CE_SetVector(TolmMathLib::Vec3{3, 4, 5}, kVector));
  EXPECT_EQ(F({3, 4, 5}), Floats(vector_.GetVector()));
  D3DXMATRIX written = Counting(1);
  ASSERT_TRUE(channel_.CE_SetMatrix(written, kMatrix));
  EXPECT_EQ(Floats(Counting(1)), Floats(matrix_.GetMatrix()));
  EXPECT_EQ(Floats(Counting(1)), Floats(channel_.CE_GetMatrix(kMatrix, Counting(50))));
  EXPECT_TRUE(Shown().empty());
  // Copies, made or assigned, keep the served channel and the children fetched last.
  channel_.CE_CallChild(kText);
  channel_.CE_GetStringPointer(kText, static_cast<char*>(nullptr));
  TestChannel assigned;
  assigned = channel_;
  for (const TestChannel& copy : {TestChannel(channel_), assigned}) {
    EXPECT_EQ((std::vector<A3d_Channel*>{&channel_, &text_, &vector_, &text_, &matrix_}),
              (std::vector<A3d_Channel*>{copy._self, copy._lastChild, copy._vectorChild,
                                         copy._textChild, copy._matrixChild}));
  }
}

TEST_F(LinkAccess, TextsAreTheChildsOwnAppendedOrCutToFitAndNullIsAnsweredPerForm) {
  char def[] = "def";
  EXPECT_EQ(def, channel_.CE_GetStringPointer(kText, def));  // null: the default
  std::string s = "ab";
  EXPECT_TRUE(channel_.CE_CopyString(s, kText, true));  // null appends nothing
  EXPECT_FALSE(channel_.CE_CopyString(s, kText, false));
  std::wstring ws = L"AB";
  EXPECT_FALSE(channel_.CE_CopyString(ws, kText));
  EXPECT_TRUE(channel_.CE_SetString(std::string("%d%s"), kText));
  EXPECT_TRUE(channel_.CE_SetString(std::wstring(L"wxyz"), kText));
  ASSERT_TRUE(channel_.CE_CopyString(s, kText, false));
  EXPECT_EQ("ab%d%s", s);
  ASSERT_TRUE(channel_.CE_CopyString(ws, kText));
  EXPECT_EQ(L"ABwxyz", ws);
  for (unsigned int size : {8u, 3u, 1u}) {
    SCOPED_TRACE(size);
    char buffer[8];
    wchar_t wide[8];
    std::fill(buffer, buffer + 8, '#');
    ASSERT_TRUE(channel_.CE_CopyString(buffer, size, kText));
    ASSERT_TRUE(channel_.CE_CopyString(wide, size, kText));
    EXPECT_EQ(std::string("%d%s").substr(0, size - 1), buffer);
    EXPECT_EQ(std::wstring(L"wxyz").substr(0, size - 1), wide);
    EXPECT_EQ('#', buffer[std::min(size, 7u)]);
    EXPECT_FALSE(channel_.CE_CopyString(buffer, 0, kText));
    EXPECT_FALSE(channel_.CE_CopyString(static_cast<char*>(nullptr), size, kText));
  }
  EXPECT_TRUE(Shown().empty());
}

// Tagged values, written and read through the host's saver and loader.
template <class T>
Bytes Written(const T& value) {
  A3dFileSaver saver;
  EXPECT_TRUE(TestChannel::SaveChannelValue(saver, "V", value));
  return saver.Data();
}
template <class T>
T ReadBack(const Bytes& bytes) {
  A3dFileLoader loader(bytes);
  T value{};
  EXPECT_TRUE(TestChannel::ReadChannelValue(loader, "V", value));
  return value;
}

TEST(ChannelValueFile, IntegersAreFourBytesSignedByTheirPattern) {
  EXPECT_EQ(Records({{"V", U32(0xFFFFFFFEu)}}), Written(-2l));
  EXPECT_EQ(Records({{"V", U32(0x12345678u)}}), Written(0x12345678u));
  EXPECT_EQ(Records({{"V", U32(5)}}), Written(static_cast<unsigned long>(0x100000005ull)));
  // An integer of another size is refused and skipped: the next one is read.
  A3dFileLoader sized(Records({{"V", "ab"}, {"V", U32(7)}}));
  unsigned long read = 0;
  EXPECT_FALSE(TestChannel::ReadChannelValue(sized, "V", read));
  EXPECT_TRUE(TestChannel::ReadChannelValue(sized, "V", read));
  EXPECT_EQ(7ul, read);
  EXPECT_EQ(-1, ReadBack<int>(Written(-1)));
  EXPECT_EQ(-1l, ReadBack<long>(Written(-1)));
  EXPECT_EQ(4294967295ul, ReadBack<unsigned long>(Written(-1)));
  EXPECT_EQ(static_cast<long>(INT_MIN), ReadBack<long>(Written(INT_MIN)));
}

TEST(ChannelValueFile, TextsEndWithAZeroThatEndsTheirReading) {
  // Its characters and a zero byte, read back within its block.
  EXPECT_EQ(Records({{"V", Z("%d")}}), Written(std::string("%d")));
  A3dFileLoader loader(Records({{"V", ""}, {"V", "abc"}, {"V", std::string("x\0y\0", 4)}}));
  std::string s = "old";
  for (const char* expected : {"", "abc", "x"}) {
    ASSERT_TRUE(TestChannel::ReadChannelValue(loader, "V", s)) << expected;
    EXPECT_EQ(expected, s);
  }
  EXPECT_TRUE(loader.AtEnd());
}

}  // namespace
