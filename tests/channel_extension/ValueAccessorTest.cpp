// The typed accessors of vector, matrix and text children.
#include <algorithm>
#include <cstring>
#include <functional>
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
const char kPastEndShown[] = "InvalidlLinkIndex.Link[4]";

std::string TypeCheckMessage(unsigned int link) {
  return ExtensionMessage("VerifyLink().ChannelBaseGuidMatch().Failed.Link[" +
                          std::to_string(link) + "]");
}

D3DXMATRIX Counting(float start) {
  D3DXMATRIX m;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) m.m[r][c] = start + static_cast<float>(4 * r + c);
  }
  return m;
}

using F = std::vector<float>;
F Floats(const D3DXVECTOR3& v) { return {v.x, v.y, v.z}; }
F Floats(const TolmMathLib::Vec2& v) { return {v.x, v.y}; }

bool SameMatrix(const D3DXMATRIX& a, const D3DXMATRIX& b) {
  return std::memcmp(&a, &b, sizeof(D3DXMATRIX)) == 0;
}

class ValueAccessors : public ExtensionTest {
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
    ExtensionTest::SetUp();
  }

  Aco_ValueVectorChannel vector_;
  Aco_MatrixChannel matrix_;
  Aco_StringChannel text_;
};

TEST_F(ValueAccessors, EveryAccessorFailsOnWrongEmptyOrMissingChildKeepingOutputs) {
  D3DXVECTOR3 v = {7, 8, 9};
  TolmMathLib::Vec2 xz = {5, 6};
  D3DXMATRIX m = Counting(100);
  char marker[] = "m";
  char* p = marker;
  wchar_t wmarker[] = L"m";
  char buffer[8] = "keep";
  std::string s = "ab";
  std::wstring ws = L"AB";
  text_.SetString("text");
  text_.SetWString(L"wide");
  struct Accessor {
    const char* name;
    unsigned int wrongLink;
    std::function<bool(unsigned int)> call;  // false: failed, output kept
  };
  const Accessor accessors[] = {
      {"GetVector", kTextLink, [&](unsigned int l) { return channel_.CE_GetVector(v, l); }},
      {"GetVectorXZ", kTextLink, [&](unsigned int l) { return channel_.CE_GetVectorXZ(xz, l); }},
      {"GetVectorXZ default", kTextLink,
       [&](unsigned int l) { return Floats(channel_.CE_GetVectorXZ(l, xz)) != Floats(xz); }},
      {"SetVector", kTextLink, [&](unsigned int l) { return channel_.CE_SetVector(v, l); }},
      {"GetMatrix", kVectorLink, [&](unsigned int l) { return channel_.CE_GetMatrix(m, l); }},
      {"GetMatrix default", kVectorLink,
       [&](unsigned int l) { return !SameMatrix(m, channel_.CE_GetMatrix(l, m)); }},
      {"SetMatrix", kVectorLink, [&](unsigned int l) { return channel_.CE_SetMatrix(m, l); }},
      {"GetStringPointer", kVectorLink,
       [&](unsigned int l) { return channel_.CE_GetStringPointer(&p, l); }},
      {"GetStringPointer default", kVectorLink,
       [&](unsigned int l) { return channel_.CE_GetStringPointer(l, marker) != marker; }},
      {"GetWStringPointer default", kVectorLink,
       [&](unsigned int l) { return channel_.CE_GetWStringPointer(l, wmarker) != wmarker; }},
      {"CopyString buffer", kVectorLink,
       [&](unsigned int l) { return channel_.CE_CopyString(buffer, sizeof(buffer), l); }},
      {"CopyString string", kVectorLink,
       [&](unsigned int l) { return channel_.CE_CopyString(s, l, true); }},
      {"CopyString wstring", kVectorLink,
       [&](unsigned int l) { return channel_.CE_CopyString(ws, l); }},
      {"SetString", kVectorLink, [&](unsigned int l) { return channel_.CE_SetString("x", l); }},
      {"SetString wide", kVectorLink,
       [&](unsigned int l) { return channel_.CE_SetString(std::wstring(L"x"), l); }},
  };
  for (const Accessor& accessor : accessors) {
    SCOPED_TRACE(accessor.name);
    globalEngine->ShowDebugMessage.Clear();
    for (unsigned int link : {accessor.wrongLink, kEmptyLink, kPastEnd}) {
      EXPECT_FALSE(accessor.call(link)) << link;
    }
    // The empty link is not reported.
    EXPECT_EQ(std::vector<std::string>({TypeCheckMessage(accessor.wrongLink), kPastEndShown}),
              Shown());
  }
  // Neither the outputs nor the children changed.
  EXPECT_EQ(F({7, 8, 9}), Floats(v));
  EXPECT_EQ(F({5, 6}), Floats(xz));
  EXPECT_TRUE(SameMatrix(Counting(100), m));
  EXPECT_EQ(marker, p);
  EXPECT_STREQ("keep", buffer);
  EXPECT_EQ("ab", s);
  EXPECT_EQ(L"AB", ws);
  EXPECT_EQ(F({1, 2, 3}), Floats(vector_.GetVector()));
  EXPECT_STREQ("text", text_.GetString());
  EXPECT_STREQ(L"wide", text_.GetWString());
}

TEST_F(ValueAccessors, VectorIsReadWholeProjectedToXZAndWrittenByEveryOverload) {
  D3DXVECTOR3 v = {0, 0, 0};
  ASSERT_TRUE(channel_.CE_GetVector(v, kVectorLink));
  EXPECT_EQ(F({1, 2, 3}), Floats(v));
  EXPECT_EQ(F({1, 2, 3}), Floats(channel_.CE_GetVector(kVectorLink, D3DXVECTOR3{9, 9, 9})));
  TolmMathLib::Vec2 xz = {0, 0};
  ASSERT_TRUE(channel_.CE_GetVectorXZ(xz, kVectorLink));
  EXPECT_EQ(F({1, 3}), Floats(xz));
  EXPECT_EQ(F({1, 3}), Floats(channel_.CE_GetVectorXZ(kVectorLink, TolmMathLib::Vec2{9, 9})));

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
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ValueAccessors, MatrixIsReadAndWrittenWhole) {
  D3DXMATRIX written = Counting(1);
  ASSERT_TRUE(channel_.CE_SetMatrix(written, kMatrixLink));
  EXPECT_TRUE(SameMatrix(Counting(1), matrix_.GetMatrix()));
  D3DXMATRIX read = Counting(100);
  ASSERT_TRUE(channel_.CE_GetMatrix(read, kMatrixLink));
  EXPECT_TRUE(SameMatrix(Counting(1), read));
  EXPECT_TRUE(SameMatrix(Counting(1), channel_.CE_GetMatrix(kMatrixLink, Counting(50))));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ValueAccessors, NullTextIsAnsweredPerForm) {
  char def[] = "def";
  EXPECT_EQ(def, channel_.CE_GetStringPointer(kTextLink, def));
  char marker[] = "m";
  char* p = marker;
  EXPECT_TRUE(channel_.CE_GetStringPointer(&p, kTextLink));
  EXPECT_EQ(nullptr, p);
  std::string s = "ab";
  EXPECT_TRUE(channel_.CE_CopyString(s, kTextLink, true));
  EXPECT_FALSE(channel_.CE_CopyString(s, kTextLink, false));
  EXPECT_EQ("ab", s);
  char buffer[8] = "keep";
  EXPECT_FALSE(channel_.CE_CopyString(buffer, sizeof(buffer), kTextLink));
  EXPECT_STREQ("keep", buffer);

  // Null wide text is null, not the default.
  wchar_t wdef[] = L"def";
  EXPECT_EQ(nullptr, channel_.CE_GetWStringPointer(kTextLink, wdef));
  wchar_t wmarker[] = L"m";
  wchar_t* w = wmarker;
  EXPECT_TRUE(channel_.CE_GetStringPointer(&w, kTextLink));
  EXPECT_EQ(nullptr, w);
  std::wstring ws = L"ab";
  EXPECT_FALSE(channel_.CE_CopyString(ws, kTextLink));
  EXPECT_EQ(L"ab", ws);
  // A null output pointer is refused.
  EXPECT_FALSE(channel_.CE_GetStringPointer(static_cast<char**>(nullptr), kTextLink));
  EXPECT_FALSE(channel_.CE_GetStringPointer(static_cast<wchar_t**>(nullptr), kTextLink));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ValueAccessors, TextPointersAreTheChildsOwn) {
  text_.SetString("hello");
  text_.SetWString(L"wide");
  EXPECT_EQ(text_.GetString(), channel_.CE_GetStringPointer(kTextLink, nullptr));
  EXPECT_EQ(text_.GetWString(), channel_.CE_GetWStringPointer(kTextLink, nullptr));
  char* p = nullptr;
  EXPECT_TRUE(channel_.CE_GetStringPointer(&p, kTextLink));
  EXPECT_EQ(text_.GetString(), p);
  wchar_t* w = nullptr;
  EXPECT_TRUE(channel_.CE_GetStringPointer(&w, kTextLink));
  EXPECT_EQ(text_.GetWString(), w);
}

TEST_F(ValueAccessors, BufferCopiesCutToFitAndKeepFormatCharacters) {
  text_.SetString("%d%s");
  text_.SetWString(L"wxyz");
  char buffer[8];
  wchar_t wide[8];
  for (unsigned int size : {8u, 3u, 1u}) {
    SCOPED_TRACE(size);
    std::fill(buffer, buffer + 8, '#');
    std::fill(wide, wide + 8, L'#');
    ASSERT_TRUE(channel_.CE_CopyString(buffer, size, kTextLink));
    ASSERT_TRUE(channel_.CE_CopyString(wide, size, kTextLink));
    EXPECT_EQ(std::string("%d%s").substr(0, size - 1), buffer);
    EXPECT_EQ(std::wstring(L"wxyz").substr(0, size - 1), wide);
    if (size < 8) {
      EXPECT_EQ('#', buffer[size]);
      EXPECT_EQ(L'#', wide[size]);
    }
  }
  // No buffer or no room: nothing is written.
  std::fill(buffer, buffer + 8, '#');
  std::fill(wide, wide + 8, L'#');
  EXPECT_FALSE(channel_.CE_CopyString(buffer, 0, kTextLink));
  EXPECT_FALSE(channel_.CE_CopyString(wide, 0, kTextLink));
  EXPECT_FALSE(channel_.CE_CopyString(static_cast<char*>(nullptr), 4, kTextLink));
  EXPECT_EQ('#', buffer[0]);
  EXPECT_EQ(L'#', wide[0]);
  EXPECT_TRUE(Shown().empty());
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
}

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

}  // namespace
