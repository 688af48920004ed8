// The channel extension's members, its one instantiation and the free
// functions beside it.
#include "channel_extension/ChannelExtension.h"

#include <cstring>
#include <string>
#include <vector>

#include "channel_extension/BoundedCopy.h"
#include "channel_extension/LinkRecord.h"

bool ChannelBaseGuidMatch(A3d_Channel* ch, const _GUID& guid) {
  if (!CheckOrReport(ch != nullptr, "ChannelBaseGuidMatch", "ch")) return false;
  const ChannelType type = ch->GetChannelType();
  return type.BaseGuid == guid;
}

const char* GetChannelGroupName(A3d_Channel* ch) {
  if (!CheckOrReport(ch != nullptr, "GetChannelGroupName", "ch")) return "";
  A3d_ChannelGroup* const group = ch->GetChannelGroup();
  return group != nullptr ? group->GetGroupName() : "";
}

namespace qaxoi::module {

// The names by which the extension's messages identify their operation. They
// are fixed texts, whatever the Base of the instantiation.
constexpr const char* kCreateLinkName = "ChannelExtension<class Aco_FloatChannel>::CreateLink";
constexpr const char* kSetChildLinkNameName =
    "ChannelExtension<class Aco_FloatChannel>::SetChildLinkName";
constexpr const char* kVerifyLinkName = "ChannelExtension<class Aco_FloatChannel>::VerifyLink";
constexpr const char* kSetSelfName = "ChannelExtension<class Aco_FloatChannel>::CE_SetSelf";

constexpr const char* kNoName = "[no-name]";
constexpr const char* kUnknownGroup = "[unknown]";
constexpr const char* kUnnamedLink = "[none]";

}  // namespace qaxoi::module

// Construction, copying and destruction.

template <class Base>
ChannelExtension<Base>::ChannelExtension()
    : _self(nullptr),
      _lastChild(nullptr),
      _vectorChild(nullptr),
      _textChild(nullptr),
      _matrixChild(nullptr) {}

template <class Base>
ChannelExtension<Base>::ChannelExtension(const ChannelExtension& other)
    : _self(other._self),
      _lastChild(other._lastChild),
      _vectorChild(other._vectorChild),
      _textChild(other._textChild),
      _matrixChild(other._matrixChild),
      _linkNames(other._linkNames),
      _cgrName(other._cgrName) {}

template <class Base>
ChannelExtension<Base>& ChannelExtension<Base>::operator=(const ChannelExtension& other) {
  _self = other._self;
  _lastChild = other._lastChild;
  _vectorChild = other._vectorChild;
  _textChild = other._textChild;
  _matrixChild = other._matrixChild;
  _linkNames = other._linkNames;
  _cgrName = other._cgrName;
  return *this;
}

template <class Base>
ChannelExtension<Base>::~ChannelExtension() {
  _self = nullptr;
  _lastChild = nullptr;
  _vectorChild = nullptr;
  _textChild = nullptr;
  _matrixChild = nullptr;
}

template <class Base>
void ChannelExtension<Base>::CE_ExecuteTrigger(unsigned int /*trigger*/, void* /*data*/) {}

// Binding and own names.

template <class Base>
void ChannelExtension<Base>::CE_SetSelf(A3d_Channel* self) {
  if (!CheckOrReport(self != nullptr, qaxoi::module::kSetSelfName, "self")) return;
  _self = self;
  const char* const group = GetChannelGroupName(self);
  _cgrName = group != nullptr ? group : qaxoi::module::kUnknownGroup;
}

template <class Base>
const char* ChannelExtension<Base>::CE_GetOwnName() const {
  const char* const name = _self != nullptr ? _self->GetChannelName() : nullptr;
  return name != nullptr ? name : qaxoi::module::kNoName;
}

template <class Base>
const char* ChannelExtension<Base>::CE_GetOwnCGRName() const {
  return _cgrName.empty() ? qaxoi::module::kNoName : _cgrName.c_str();
}

// Link checks and untyped child access.

template <class Base>
unsigned int ChannelExtension<Base>::ChildCount() const {
  if (_self == nullptr) return 0;
  const int count = _self->GetChildCount();
  return count > 0 ? static_cast<unsigned int>(count) : 0u;
}

template <class Base>
bool ChannelExtension<Base>::VerifyLink(unsigned int link) const {
  if (link < ChildCount()) return true;
  ReportPlain("InvalidlLinkIndex.Link[%d]", static_cast<int>(link));
  return false;
}

template <class Base>
bool ChannelExtension<Base>::VerifyLink(unsigned int link, const _GUID& guid) const {
  if (!VerifyLink(link)) return false;
  A3d_Channel* const child = _self->GetChild(static_cast<int>(link));
  if (child == nullptr) return false;
  if (ChannelBaseGuidMatch(child, guid)) return true;
  ReportError(qaxoi::module::kVerifyLinkName, "ChannelBaseGuidMatch().Failed.Link[%d]",
              static_cast<int>(link));
  return false;
}

template <class Base>
bool ChannelExtension<Base>::CE_IsChildLinked(unsigned int link) {
  if (!VerifyLink(link)) return false;
  return _self->GetChild(static_cast<int>(link)) != nullptr;
}

template <class Base>
const char* ChannelExtension<Base>::CE_GetLinkedChildName(unsigned int link) {
  if (!VerifyLink(link)) return nullptr;
  _lastChild = _self->GetChild(static_cast<int>(link));
  return _lastChild != nullptr ? _lastChild->GetChannelName() : nullptr;
}

template <class Base>
bool ChannelExtension<Base>::CE_CallChild(unsigned int link) {
  if (!VerifyLink(link)) return false;
  _lastChild = _self->GetChild(static_cast<int>(link));
  if (_lastChild == nullptr) return false;
  _lastChild->CallChannel();
  return true;
}

template <class Base>
A3d_Channel* ChannelExtension<Base>::CheckAndFetch(unsigned int link, const _GUID& guid,
                                                   A3d_Channel** kept) {
  if (!VerifyLink(link, guid)) return nullptr;
  *kept = _self->GetChild(static_cast<int>(link));
  return *kept;
}

template <class Base>
Aco_ValueVectorChannel* ChannelExtension<Base>::FetchVectorChild(unsigned int link) {
  return dynamic_cast<Aco_ValueVectorChannel*>(
      CheckAndFetch(link, kValueVectorLinkGuid, &_vectorChild));
}

template <class Base>
Aco_MatrixChannel* ChannelExtension<Base>::FetchMatrixChild(unsigned int link) {
  return dynamic_cast<Aco_MatrixChannel*>(CheckAndFetch(link, kMatrixLinkGuid, &_matrixChild));
}

template <class Base>
Aco_StringChannel* ChannelExtension<Base>::FetchTextChild(unsigned int link) {
  return dynamic_cast<Aco_StringChannel*>(CheckAndFetch(link, kTextLinkGuid, &_textChild));
}

// Vectors and matrices.

template <class Base>
bool ChannelExtension<Base>::CE_GetVector(D3DXVECTOR3& out, unsigned int link) {
  Aco_ValueVectorChannel* const child = FetchVectorChild(link);
  if (child == nullptr) return false;
  out = child->GetVector();
  return true;
}

template <class Base>
D3DXVECTOR3 ChannelExtension<Base>::CE_GetVector(unsigned int link, const D3DXVECTOR3& def) {
  D3DXVECTOR3 result = def;
  CE_GetVector(result, link);
  return result;
}

template <class Base>
bool ChannelExtension<Base>::CE_GetVectorXZ(TolmMathLib::Vec2& out, unsigned int link) {
  D3DXVECTOR3 v;
  if (!CE_GetVector(v, link)) return false;
  out.x = v.x;
  out.y = v.z;
  return true;
}

template <class Base>
TolmMathLib::Vec2 ChannelExtension<Base>::CE_GetVectorXZ(unsigned int link,
                                                         const TolmMathLib::Vec2& def) {
  TolmMathLib::Vec2 result = def;
  CE_GetVectorXZ(result, link);
  return result;
}

template <class Base>
bool ChannelExtension<Base>::CE_SetVector(D3DXVECTOR3& v, unsigned int link) {
  return CE_SetVector(static_cast<const D3DXVECTOR3&>(v), link);
}

template <class Base>
bool ChannelExtension<Base>::CE_SetVector(const D3DXVECTOR3& v, unsigned int link) {
  Aco_ValueVectorChannel* const child = FetchVectorChild(link);
  if (child == nullptr) return false;
  child->SetVector(v);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_SetVector(TolmMathLib::Vec3& v, unsigned int link) {
  return CE_SetVector(static_cast<const TolmMathLib::Vec3&>(v), link);
}

template <class Base>
bool ChannelExtension<Base>::CE_SetVector(const TolmMathLib::Vec3& v, unsigned int link) {
  const D3DXVECTOR3 copy = {v.x, v.y, v.z};
  return CE_SetVector(copy, link);
}

template <class Base>
bool ChannelExtension<Base>::CE_GetMatrix(D3DXMATRIX& out, unsigned int link) {
  Aco_MatrixChannel* const child = FetchMatrixChild(link);
  if (child == nullptr) return false;
  out = child->GetMatrix();
  return true;
}

template <class Base>
D3DXMATRIX ChannelExtension<Base>::CE_GetMatrix(unsigned int link, const D3DXMATRIX& def) {
  D3DXMATRIX result = def;
  CE_GetMatrix(result, link);
  return result;
}

template <class Base>
bool ChannelExtension<Base>::CE_SetMatrix(D3DXMATRIX& m, unsigned int link) {
  Aco_MatrixChannel* const child = FetchMatrixChild(link);
  if (child == nullptr) return false;
  child->SetMatrix(m);
  return true;
}

// Texts.

template <class Base>
bool ChannelExtension<Base>::CE_GetStringPointer(char** out, unsigned int link) {
  if (out == nullptr) return false;
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return false;
  *out = child->GetString();
  return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_GetStringPointer(wchar_t** out, unsigned int link) {
  if (out == nullptr) return false;
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return false;
  *out = child->GetWString();
  return true;
}

template <class Base>
char* ChannelExtension<Base>::CE_GetStringPointer(unsigned int link, char* def) {
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return def;
  char* const text = child->GetString();
  return text != nullptr ? text : def;
}

template <class Base>
wchar_t* ChannelExtension<Base>::CE_GetWStringPointer(unsigned int link, wchar_t* def) {
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return def;
  return child->GetWString();
}

template <class Base>
bool ChannelExtension<Base>::CE_CopyString(char* dst, unsigned int size, unsigned int link) {
  if (dst == nullptr || size == 0) return false;
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return false;
  const char* const text = child->GetString();
  if (text == nullptr) return false;
  qaxoi::module::CopyTerminated(dst, size, text);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_CopyString(wchar_t* dst, unsigned int size, unsigned int link) {
  if (dst == nullptr || size == 0) return false;
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return false;
  const wchar_t* const text = child->GetWString();
  if (text == nullptr) return false;
  qaxoi::module::CopyTerminated(dst, size, text);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_CopyString(std::string& out, unsigned int link, bool acceptNull) {
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return false;
  const char* const text = child->GetString();
  if (text == nullptr) return acceptNull;
  out.append(text);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_CopyString(std::wstring& out, unsigned int link) {
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return false;
  const wchar_t* const text = child->GetWString();
  if (text == nullptr) return false;
  out.append(text);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_SetString(const char* text, unsigned int link) {
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return false;
  child->SetString(text);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_SetString(const std::string& text, unsigned int link) {
  return CE_SetString(text.c_str(), link);
}

template <class Base>
bool ChannelExtension<Base>::CE_SetString(const wchar_t* text, unsigned int link) {
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return false;
  child->SetWString(text);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_SetString(const std::wstring& text, unsigned int link) {
  return CE_SetString(text.c_str(), link);
}

// Link creation and the link name table.

template <class Base>
void ChannelExtension<Base>::CreateLink(_GUID typeGuid, const char* TypeName, const char* Name,
                                        int linkParam, bool unindexed) {
  using qaxoi::module::kCreateLinkName;
  if (!CheckOrReport(TypeName != nullptr, kCreateLinkName, "TypeName")) TypeName = "";
  if (!CheckOrReport(Name != nullptr, kCreateLinkName, "Name")) Name = "";
  if (!CheckOrReport(_self != nullptr, kCreateLinkName, "_self")) return;

  const int position = _self->GetChildCount();
  SetChildLinkName(static_cast<unsigned int>(position), Name);
  _self->SetChildCreateType(
      MakeLinkRecord(typeGuid, TypeName, Name, unindexed ? -1 : position, linkParam), position);
}

template <class Base>
void ChannelExtension<Base>::CreateValueLink(const char* Name, int linkParam, bool unindexed) {
  CreateLink(kValueLinkGuid, kValueLinkTypeName, Name, linkParam, unindexed);
}

template <class Base>
void ChannelExtension<Base>::CreateVectorLink(const char* Name, int linkParam, bool unindexed) {
  CreateLink(kValueVectorLinkGuid, kValueVectorLinkTypeName, Name, linkParam, unindexed);
}

template <class Base>
void ChannelExtension<Base>::CreateStringLink(const char* Name, int linkParam, bool unindexed) {
  CreateLink(kTextLinkGuid, kTextLinkTypeName, Name, linkParam, unindexed);
}

template <class Base>
void ChannelExtension<Base>::CreateMatrixLink(const char* Name, int linkParam, bool unindexed) {
  CreateLink(kMatrixLinkGuid, kMatrixLinkTypeName, Name, linkParam, unindexed);
}

template <class Base>
void ChannelExtension<Base>::CreateGenericLink(const char* Name, int linkParam, bool unindexed) {
  CreateLink(kAnyTypeLinkGuid, kAnyTypeLinkTypeName, Name, linkParam, unindexed);
}

template <class Base>
void ChannelExtension<Base>::SetChildLinkName(unsigned int link, const char* name) {
  using qaxoi::module::kSetChildLinkNameName;
  if (!CheckOrReport(name != nullptr, kSetChildLinkNameName, "name")) name = "";
  if (!CheckOrReport(link < kMaxLinkNames, kSetChildLinkNameName, "link < kMaxLinkNames")) return;
  if (_linkNames.size() <= link) {
    _linkNames.resize(static_cast<std::size_t>(link) + 1, qaxoi::module::kUnnamedLink);
  }
  _linkNames[link] = name;
}

template <class Base>
const char* ChannelExtension<Base>::GetChildLinkName(unsigned int link) {
  if (link >= _linkNames.size()) SetChildLinkName(link, "");
  return link < _linkNames.size() ? _linkNames[link].c_str() : "";
}

template <class Base>
const std::string ChannelExtension<Base>::GetChildLinkErrorText(unsigned int link) {
  return std::string("ChildLinkError[") + GetChildLinkName(link) + "]";
}

template <class Base>
const std::string ChannelExtension<Base>::GetChildLinkInvalidText(unsigned int link) {
  return std::string("ChildLinkInvalid[") + GetChildLinkName(link) + "]";
}

// Tagged single values.

template <class Base>
bool ChannelExtension<Base>::SaveChannelValue(A3dFileSaver& saver, const char* const tag,
                                              int value) {
  return SaveChannelValue(saver, tag, static_cast<unsigned long>(static_cast<unsigned int>(value)));
}

template <class Base>
bool ChannelExtension<Base>::SaveChannelValue(A3dFileSaver& saver, const char* const tag,
                                              unsigned int value) {
  return SaveChannelValue(saver, tag, static_cast<unsigned long>(value));
}

template <class Base>
bool ChannelExtension<Base>::SaveChannelValue(A3dFileSaver& saver, const char* const tag,
                                              long value) {
  return SaveChannelValue(saver, tag, static_cast<unsigned long>(value));
}

template <class Base>
bool ChannelExtension<Base>::SaveChannelValue(A3dFileSaver& saver, const char* const tag,
                                              unsigned long value) {
  if (saver.SaveTag(tag) == 0) return false;
  const unsigned char bytes[4] = {static_cast<unsigned char>(value & 0xFFu),
                                  static_cast<unsigned char>((value >> 8) & 0xFFu),
                                  static_cast<unsigned char>((value >> 16) & 0xFFu),
                                  static_cast<unsigned char>((value >> 24) & 0xFFu)};
  saver.SaveBlockSize(sizeof(bytes));
  saver.SaveDataToFile(bytes, sizeof(bytes));
  return true;
}

template <class Base>
bool ChannelExtension<Base>::SaveChannelValue(A3dFileSaver& saver, const char* const tag,
                                              std::string value) {
  return SaveChannelText(saver, tag, value);
}

template <class Base>
bool ChannelExtension<Base>::SaveChannelText(A3dFileSaver& saver, const char* const tag,
                                             const std::string& value) {
  if (saver.SaveTag(tag) == 0) return false;
  // c_str() carries the terminating zero byte behind the characters.
  const unsigned long size = static_cast<unsigned long>(value.size()) + 1;
  saver.SaveBlockSize(size);
  saver.SaveDataToFile(value.c_str(), size);
  return true;
}

namespace qaxoi::module {

// The 32-bit value a signed reader sees in `bits`: the two's-complement
// reading of its low 32 bits.
inline long SignedFrom32Bits(unsigned long bits) {
  const unsigned long low = bits & 0xFFFFFFFFul;
  if (low < 0x80000000ul) return static_cast<long>(low);
  return -static_cast<long>(0xFFFFFFFFul - low) - 1;
}

}  // namespace qaxoi::module

template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* const tag,
                                              int& value) {
  unsigned long bits = 0;
  if (!ReadChannelValue(loader, tag, bits)) return false;
  value = static_cast<int>(qaxoi::module::SignedFrom32Bits(bits));
  return true;
}

template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* const tag,
                                              unsigned int& value) {
  unsigned long bits = 0;
  if (!ReadChannelValue(loader, tag, bits)) return false;
  value = static_cast<unsigned int>(bits);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* const tag,
                                              long& value) {
  unsigned long bits = 0;
  if (!ReadChannelValue(loader, tag, bits)) return false;
  value = qaxoi::module::SignedFrom32Bits(bits);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* const tag,
                                              unsigned long& value) {
  if (!loader.GetInfoIfTag(tag)) return false;
  unsigned char bytes[4] = {0, 0, 0, 0};
  if (loader.GetSizeDataBlock(false) != sizeof(bytes)) {
    loader.SkipCurrentTag();
    return false;
  }
  loader.CopyTagDataToPointer(bytes);
  value = static_cast<unsigned long>(bytes[0]) | (static_cast<unsigned long>(bytes[1]) << 8) |
          (static_cast<unsigned long>(bytes[2]) << 16) |
          (static_cast<unsigned long>(bytes[3]) << 24);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* const tag,
                                              std::string& value) {
  if (!loader.GetInfoIfTag(tag)) return false;
  // The loader never announces more bytes than the file holds.
  std::vector<char> block(loader.GetSizeDataBlock(false));
  if (block.empty()) {
    loader.SkipCurrentTag();
    value.clear();
    return true;
  }
  loader.CopyTagDataToPointer(block.data());
  const void* const zero = std::memchr(block.data(), 0, block.size());
  const std::size_t length =
      zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - block.data())
                      : block.size();
  value.assign(block.data(), length);
  return true;
}

// The header's extern declaration already carries the export attribute, which
// GCC then reports as ignored here; other compilers need it on both.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
#endif
template class QAXOI_API ChannelExtension<Aco_FloatChannel>;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
