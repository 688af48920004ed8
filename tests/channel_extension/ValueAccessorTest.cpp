// The typed accessors of vector, matrix and text children.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "channel_extension/ChannelExtension.h"
#include "host/sdk/HighPoly.h"
#include "tests/channel_extension/TestChannel.h"

namespace {

constexpr unsigned int kVectorLink = 0;
constexpr unsigned int kMatrixLink = 1;
constexpr unsigned int kTextLink = 2;
constexpr unsigned int kEmptyLink = 3;  // a generic link with nothing linked
constexpr unsigned int kPastEnd = 4;

const char kTypeCheckFailed[] =
    "ChannelExtension<class Aco_FloatChannel>::VerifyLink().ChannelBaseGuidMatch().Failed.Link[%u]";

std::string TypeCheckMessage(unsigned int link) {
  char text[sizeof(kTypeCheckFailed) + 16];
  std::snprintf(text, sizeof(text), kTypeCheckFailed, link);
  return text;
}

D3DXMATRIX Counting(float start) {
  D3DXMATRIX m;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) m.m[r][c] = start + static_cast<float>(4 * r + c);
  }
  return m;
}

using F = std::vector<float>;
std::vector<float> Floats(const D3DXVECTOR3& v) { return {v.x, v.y, v.z}; }
std::vector<float> Floats(const TolmMathLib::Vec2& v) { return {v.x, v.y}; }

bool SameMatrix(const D3DXMATRIX& a, const D3DXMATRIX& b) {
  return std::memcmp(&a, &b, sizeof(D3DXMATRIX)) == 0;
}

class ValueAccessors : public ::testing::Test {
 protected:
  void SetUp() override {
    channel_.CreateVectorLink("v", 1, false);
    channel_.CreateMatrixLink("m", 1, false);
    channel_.CreateStringLink("t", 1, false);
    channel_.CreateGenericLink("g", 1, false);
    channel_.LinkChild(kVectorLink, &vector_);
    channel_.LinkChild(kMatrixLink, &matrix_);
    channel_.LinkChild(kTextLink, &text_);
    vector_.SetVector({1, 2, 3});
    globalEngine->ShowDebugMessage.Clear();
  }
  const std::vector<std::string>& Shown() const { return globalEngine->ShowDebugMessage.Shown(); }

  // Links a float channel, which no typed link accepts, at `link`.
  void LinkWrongType(unsigned int link) { channel_.LinkChild(static_cast<int>(link), &float_); }

  TestChannel channel_;
  Aco_ValueVectorChannel vector_;
  Aco_MatrixChannel matrix_;
  Aco_StringChannel text_;
  Aco_FloatChannel float_;
};

// Vectors.

TEST_F(ValueAccessors, VectorIsReadWholeAndProjectedToXZ) {
  D3DXVECTOR3 v = {0, 0, 0};
  ASSERT_TRUE(channel_.CE_GetVector(v, kVectorLink));
  EXPECT_EQ(F({1, 2, 3}), Floats(v));
  EXPECT_EQ(&vector_, channel_._vectorChild);
  EXPECT_EQ(F({1, 2, 3}), Floats(channel_.CE_GetVector(kVectorLink, D3DXVECTOR3{9, 9, 9})));

  TolmMathLib::Vec2 xz = {0, 0};
  ASSERT_TRUE(channel_.CE_GetVectorXZ(xz, kVectorLink));
  EXPECT_EQ(F({1, 3}), Floats(xz));
  EXPECT_EQ(F({1, 3}), Floats(channel_.CE_GetVectorXZ(kVectorLink, TolmMathLib::Vec2{9, 9})));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ValueAccessors, VectorFailuresKeepOutputsAndAnswerDefaults) {
  LinkWrongType(kVectorLink);
  D3DXVECTOR3 v = {7, 8, 9};
  TolmMathLib::Vec2 xz = {5, 6};
  for (unsigned int link : {kVectorLink, kEmptyLink, kPastEnd}) {
    EXPECT_FALSE(channel_.CE_GetVector(v, link)) << link;
    EXPECT_FALSE(channel_.CE_GetVectorXZ(xz, link)) << link;
    EXPECT_EQ(F({7, 8, 9}), Floats(channel_.CE_GetVector(link, v))) << link;
    EXPECT_EQ(F({5, 6}), Floats(channel_.CE_GetVectorXZ(link, xz))) << link;
  }
  EXPECT_EQ(F({7, 8, 9}), Floats(v));
  EXPECT_EQ(F({5, 6}), Floats(xz));
  // Four reports per bad link; the empty link is not reported.
  const std::vector<std::string> expected = {
      TypeCheckMessage(0),         TypeCheckMessage(0),         TypeCheckMessage(0),
      TypeCheckMessage(0),         "InvalidlLinkIndex.Link[4]", "InvalidlLinkIndex.Link[4]",
      "InvalidlLinkIndex.Link[4]", "InvalidlLinkIndex.Link[4]"};
  EXPECT_EQ(expected, Shown());
}

TEST_F(ValueAccessors, AllFourVectorSettersWriteACopy) {
  D3DXVECTOR3 a = {1, 1, 1};
  TolmMathLib::Vec3 c = {3, 4, 5};
  EXPECT_TRUE(channel_.CE_SetVector(a, kVectorLink));
  EXPECT_EQ(F({1, 1, 1}), Floats(vector_.GetVector()));
  EXPECT_TRUE(channel_.CE_SetVector(D3DXVECTOR3{2, 2, 2}, kVectorLink));
  EXPECT_EQ(F({2, 2, 2}), Floats(vector_.GetVector()));
  EXPECT_TRUE(channel_.CE_SetVector(c, kVectorLink));
  EXPECT_EQ(F({3, 4, 5}), Floats(vector_.GetVector()));
  EXPECT_TRUE(channel_.CE_SetVector(TolmMathLib::Vec3{6, 7, 8}, kVectorLink));
  EXPECT_EQ(F({6, 7, 8}), Floats(vector_.GetVector()));

  EXPECT_FALSE(channel_.CE_SetVector(a, kEmptyLink));
  EXPECT_FALSE(channel_.CE_SetVector(a, kTextLink));
  EXPECT_EQ(F({6, 7, 8}), Floats(vector_.GetVector()));
  EXPECT_EQ(std::vector<std::string>{TypeCheckMessage(kTextLink)}, Shown());
}

// Matrices.

TEST_F(ValueAccessors, MatrixIsReadAndWrittenWhole) {
  D3DXMATRIX written = Counting(1);
  ASSERT_TRUE(channel_.CE_SetMatrix(written, kMatrixLink));
  EXPECT_TRUE(SameMatrix(Counting(1), matrix_.GetMatrix()));
  EXPECT_EQ(&matrix_, channel_._matrixChild);

  D3DXMATRIX read = Counting(100);
  ASSERT_TRUE(channel_.CE_GetMatrix(read, kMatrixLink));
  EXPECT_TRUE(SameMatrix(Counting(1), read));
  EXPECT_TRUE(SameMatrix(Counting(1), channel_.CE_GetMatrix(kMatrixLink, Counting(50))));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ValueAccessors, MatrixFailuresKeepTheOutputAndAnswerTheDefault) {
  D3DXMATRIX out = Counting(100);
  EXPECT_FALSE(channel_.CE_GetMatrix(out, kVectorLink));
  EXPECT_FALSE(channel_.CE_GetMatrix(out, kEmptyLink));
  EXPECT_TRUE(SameMatrix(Counting(100), out));
  EXPECT_TRUE(SameMatrix(Counting(50), channel_.CE_GetMatrix(kPastEnd, Counting(50))));
  EXPECT_TRUE(SameMatrix(Counting(50), channel_.CE_GetMatrix(kEmptyLink, Counting(50))));

  D3DXMATRIX m = Counting(7);
  EXPECT_FALSE(channel_.CE_SetMatrix(m, kVectorLink));
  EXPECT_TRUE(SameMatrix(Counting(7), m));
  const std::vector<std::string> expected = {
      TypeCheckMessage(kVectorLink), "InvalidlLinkIndex.Link[4]", TypeCheckMessage(kVectorLink)};
  EXPECT_EQ(expected, Shown());
}

// Text pointers.

TEST_F(ValueAccessors, NullNarrowTextIsAnsweredPerForm) {
  char def[] = "def";
  EXPECT_EQ(def, channel_.CE_GetStringPointer(kTextLink, def));

  char marker[] = "m";
  char* p = marker;
  EXPECT_TRUE(channel_.CE_GetStringPointer(&p, kTextLink));
  EXPECT_EQ(nullptr, p);

  std::string s = "ab";
  EXPECT_TRUE(channel_.CE_CopyString(s, kTextLink, true));
  EXPECT_EQ("ab", s);
  EXPECT_FALSE(channel_.CE_CopyString(s, kTextLink, false));
  EXPECT_EQ("ab", s);

  char buffer[8] = "keep";
  EXPECT_FALSE(channel_.CE_CopyString(buffer, sizeof(buffer), kTextLink));
  EXPECT_STREQ("keep", buffer);
  EXPECT_EQ(&text_, channel_._textChild);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ValueAccessors, NullWideTextIsNullNotTheDefault) {
  wchar_t def[] = L"def";
  EXPECT_EQ(nullptr, channel_.CE_GetWStringPointer(kTextLink, def));
  EXPECT_EQ(def, channel_.CE_GetWStringPointer(kEmptyLink, def));
  EXPECT_EQ(def, channel_.CE_GetWStringPointer(kPastEnd, def));

  wchar_t marker[] = L"m";
  wchar_t* p = marker;
  EXPECT_TRUE(channel_.CE_GetStringPointer(&p, kTextLink));
  EXPECT_EQ(nullptr, p);

  std::wstring s = L"ab";
  EXPECT_FALSE(channel_.CE_CopyString(s, kTextLink));
  EXPECT_EQ(L"ab", s);
  EXPECT_EQ(std::vector<std::string>{"InvalidlLinkIndex.Link[4]"}, Shown());
}

TEST_F(ValueAccessors, TextPointersAreTheChildsOwn) {
  text_.SetString("hello");
  text_.SetWString(L"wide");
  char def[] = "def";
  EXPECT_EQ(text_.GetString(), channel_.CE_GetStringPointer(kTextLink, def));
  char* p = nullptr;
  EXPECT_TRUE(channel_.CE_GetStringPointer(&p, kTextLink));
  EXPECT_STREQ("hello", p);
  wchar_t* w = nullptr;
  EXPECT_TRUE(channel_.CE_GetStringPointer(&w, kTextLink));
  EXPECT_STREQ(L"wide", w);
  EXPECT_STREQ(L"wide", channel_.CE_GetWStringPointer(kTextLink, nullptr));
}

TEST_F(ValueAccessors, TextPointerFailuresLeaveTheOutputAlone) {
  text_.SetString("hello");
  EXPECT_FALSE(channel_.CE_GetStringPointer(static_cast<char**>(nullptr), kTextLink));
  EXPECT_FALSE(channel_.CE_GetStringPointer(static_cast<wchar_t**>(nullptr), kTextLink));

  char marker[] = "m";
  char* p = marker;
  EXPECT_FALSE(channel_.CE_GetStringPointer(&p, kEmptyLink));
  EXPECT_FALSE(channel_.CE_GetStringPointer(&p, kVectorLink));
  EXPECT_FALSE(channel_.CE_GetStringPointer(&p, kPastEnd));
  EXPECT_EQ(marker, p);
  char def[] = "def";
  EXPECT_EQ(def, channel_.CE_GetStringPointer(kVectorLink, def));
  const std::vector<std::string> expected = {
      TypeCheckMessage(kVectorLink), "InvalidlLinkIndex.Link[4]", TypeCheckMessage(kVectorLink)};
  EXPECT_EQ(expected, Shown());
}

// Text copies.

TEST_F(ValueAccessors, BufferCopiesCutToFitAndKeepFormatCharacters) {
  text_.SetString("%d%s");
  text_.SetWString(L"wxyz");
  char buffer[8];
  wchar_t wide[8];
  for (unsigned int size : {8u, 3u, 1u}) {
    std::fill(buffer, buffer + 8, '#');
    std::fill(wide, wide + 8, L'#');
    ASSERT_TRUE(channel_.CE_CopyString(buffer, size, kTextLink)) << size;
    ASSERT_TRUE(channel_.CE_CopyString(wide, size, kTextLink)) << size;
    EXPECT_EQ(std::string("%d%s").substr(0, size - 1), buffer) << size;
    EXPECT_EQ(std::wstring(L"wxyz").substr(0, size - 1), wide) << size;
    if (size < 8) {
      EXPECT_EQ('#', buffer[size]);
      EXPECT_EQ(L'#', wide[size]);
    }
  }
}

TEST_F(ValueAccessors, BufferCopyRefusesNoBufferAndZeroSize) {
  text_.SetString("abc");
  char buffer[4] = {'x', 'x', 'x', '\0'};
  EXPECT_FALSE(channel_.CE_CopyString(buffer, 0, kTextLink));
  EXPECT_STREQ("xxx", buffer);
  EXPECT_FALSE(channel_.CE_CopyString(static_cast<char*>(nullptr), 4, kTextLink));
  wchar_t wide[2] = {L'w', L'\0'};
  EXPECT_FALSE(channel_.CE_CopyString(wide, 0, kTextLink));
  EXPECT_EQ(L'w', wide[0]);
  EXPECT_FALSE(channel_.CE_CopyString(buffer, sizeof(buffer), kPastEnd));
  EXPECT_FALSE(channel_.CE_CopyString(buffer, sizeof(buffer), kEmptyLink));
  EXPECT_STREQ("xxx", buffer);
  EXPECT_EQ(std::vector<std::string>{"InvalidlLinkIndex.Link[4]"}, Shown());
}

TEST_F(ValueAccessors, StringCopiesAppendRatherThanReplace) {
  text_.SetString("cd");
  text_.SetWString(L"CD");
  std::string s = "ab";
  ASSERT_TRUE(channel_.CE_CopyString(s, kTextLink, false));
  EXPECT_EQ("abcd", s);
  std::wstring w = L"AB";
  ASSERT_TRUE(channel_.CE_CopyString(w, kTextLink));
  EXPECT_EQ(L"ABCD", w);

  EXPECT_FALSE(channel_.CE_CopyString(s, kVectorLink, true));
  EXPECT_FALSE(channel_.CE_CopyString(w, kEmptyLink));
  EXPECT_EQ("abcd", s);
  EXPECT_EQ(L"ABCD", w);
  EXPECT_EQ(std::vector<std::string>{TypeCheckMessage(kVectorLink)}, Shown());
}

// Text setters.

TEST_F(ValueAccessors, AllTextSettersReachTheChild) {
  EXPECT_TRUE(channel_.CE_SetString("one", kTextLink));
  EXPECT_STREQ("one", text_.GetString());
  EXPECT_TRUE(channel_.CE_SetString(std::string("two"), kTextLink));
  EXPECT_STREQ("two", text_.GetString());
  EXPECT_TRUE(channel_.CE_SetString(L"three", kTextLink));
  EXPECT_STREQ(L"three", text_.GetWString());
  EXPECT_TRUE(channel_.CE_SetString(std::wstring(L"four"), kTextLink));
  EXPECT_STREQ(L"four", text_.GetWString());
  // Null is passed on unchanged.
  EXPECT_TRUE(channel_.CE_SetString(static_cast<const char*>(nullptr), kTextLink));
  EXPECT_EQ(nullptr, text_.GetString());
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ValueAccessors, TextSettersFailOnWrongOrMissingChild) {
  text_.SetString("keep");
  LinkWrongType(kTextLink);
  EXPECT_FALSE(channel_.CE_SetString("x", kTextLink));
  EXPECT_FALSE(channel_.CE_SetString(L"x", kEmptyLink));
  EXPECT_FALSE(channel_.CE_SetString(std::string("x"), kPastEnd));
  EXPECT_STREQ("keep", text_.GetString());
  const std::vector<std::string> expected = {TypeCheckMessage(kTextLink),
                                             "InvalidlLinkIndex.Link[4]"};
  EXPECT_EQ(expected, Shown());
}

}  // namespace
