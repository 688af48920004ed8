// The host's built-in value channels: float, text, vector and matrix.
#include <cstring>

#include "host/sdk/Aco_FloatChannel.h"
#include "host/sdk/Aco_MatrixChannel.h"
#include "host/sdk/Aco_StringChannel.h"
#include "host/sdk/Aco_ValueVectorChannel.h"

namespace {

ChannelType MakeType(const char* name, const _GUID& guid) {
  ChannelType type;
  std::strncpy(type.Name, name, sizeof(type.Name) - 1);
  type.TypeGuid = guid;
  type.BaseGuid = guid;
  return type;
}

}  // namespace

const _GUID Aco_FloatChannel::kTypeGuid = {
    0xBE69CCC4, 0xCFC1, 0x4362, {0xAC, 0x81, 0x76, 0x7D, 0x19, 0x9B, 0xBF, 0xC3}};
const _GUID Aco_StringChannel::kTypeGuid = {
    0x6E6FB247, 0x4627, 0x4FBE, {0x89, 0x73, 0x48, 0x34, 0x4F, 0x23, 0x88, 0x1E}};
const _GUID Aco_ValueVectorChannel::kTypeGuid = {
    0x9D045960, 0xEAC2, 0x4C40, {0x9B, 0xBF, 0x10, 0xF3, 0x2F, 0x7F, 0xA3, 0x05}};
const _GUID Aco_MatrixChannel::kTypeGuid = {
    0x2F605354, 0x314D, 0x4775, {0x86, 0xE4, 0x1F, 0x73, 0x35, 0x50, 0xB2, 0x27}};

// --- Aco_FloatChannel -------------------------------------------------------

Aco_FloatChannel::Aco_FloatChannel()
    : value_(0.0f), oldValue_(0.0f), defaultValue_(0.0f), defaultSetting_(0) {
  SetChannelType(MakeType("Value", kTypeGuid));
}

Aco_FloatChannel::Aco_FloatChannel(const Aco_FloatChannel& other) = default;
Aco_FloatChannel& Aco_FloatChannel::operator=(const Aco_FloatChannel& other) = default;
Aco_FloatChannel::~Aco_FloatChannel() = default;

void Aco_FloatChannel::CallChannel() { oldValue_ = value_; }
void* Aco_FloatChannel::GetFeedbackClass() { return nullptr; }
float Aco_FloatChannel::GetFloat() { return value_; }
float Aco_FloatChannel::GetOldFloat() { return oldValue_; }
void Aco_FloatChannel::SetFloat(float value) { value_ = value; }
float Aco_FloatChannel::GetDefaultFloat() { return defaultValue_; }
void Aco_FloatChannel::SetDefaultFloat(float value) { defaultValue_ = value; }
int Aco_FloatChannel::GetDefaultFloatSetting() { return defaultSetting_; }
void Aco_FloatChannel::SetDefaultFloatSetting(int setting) { defaultSetting_ = setting; }

// --- Aco_StringChannel ------------------------------------------------------

Aco_StringChannel::Aco_StringChannel() : hasText_(false), hasWideText_(false) {
  SetChannelType(MakeType("Text", kTypeGuid));
}

Aco_StringChannel::Aco_StringChannel(const Aco_StringChannel& other) = default;
Aco_StringChannel& Aco_StringChannel::operator=(const Aco_StringChannel& other) = default;
Aco_StringChannel::~Aco_StringChannel() = default;

char* Aco_StringChannel::GetString() { return hasText_ ? &text_[0] : nullptr; }

void Aco_StringChannel::SetString(const char* text) {
  if (text == nullptr) {
    hasText_ = false;
    text_.clear();
    return;
  }
  std::string copy(text);  // `text` may point into text_ itself
  text_.swap(copy);
  hasText_ = true;
}

wchar_t* Aco_StringChannel::GetWString() { return hasWideText_ ? &wideText_[0] : nullptr; }

void Aco_StringChannel::SetWString(const wchar_t* text) {
  if (text == nullptr) {
    hasWideText_ = false;
    wideText_.clear();
    return;
  }
  std::wstring copy(text);
  wideText_.swap(copy);
  hasWideText_ = true;
}

// --- Aco_ValueVectorChannel -------------------------------------------------

Aco_ValueVectorChannel::Aco_ValueVectorChannel() : value_{0.0f, 0.0f, 0.0f} {
  SetChannelType(MakeType("Value Vector", kTypeGuid));
}

D3DXVECTOR3 Aco_ValueVectorChannel::GetVector() { return value_; }
void Aco_ValueVectorChannel::SetVector(D3DXVECTOR3 value) { value_ = value; }

// --- Aco_MatrixChannel ------------------------------------------------------

Aco_MatrixChannel::Aco_MatrixChannel() : value_{} {
  for (int i = 0; i < 4; ++i) value_.m[i][i] = 1.0f;
  SetChannelType(MakeType("Matrix", kTypeGuid));
}

D3DXMATRIX Aco_MatrixChannel::GetMatrix() { return value_; }
void Aco_MatrixChannel::SetMatrix(D3DXMATRIX value) { value_ = value; }
