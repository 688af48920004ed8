// ChannelExtension<Base>: typed child links for a host channel.
//
// The extension is a second base of a host channel class. It declares the
// channel's child links (value, value vector, text, matrix or any type),
// names them, checks a linked child's type by its base GUID, reads and writes
// linked children's values, and saves and loads single tagged values.
//
// The extension is not a channel itself: it serves the channel it is part of
// through `_self`, which the deriving class sets with CE_SetSelf. Every
// operation that reaches the host goes through `_self`; until it is set no
// link index is valid. No pointer of the extension owns what it points to:
// the host owns every channel.
//
// Failures are shown through the module's diagnostics and answered with
// false, null or the caller's default; nothing throws except the standard
// containers on exhausted memory.
//
// The module instantiates ChannelExtension<Aco_FloatChannel> once and exports
// it; other Base classes are instantiated by their users from this header.
#ifndef QAX_CHANNEL_EXTENSION_CHANNELEXTENSION_H_
#define QAX_CHANNEL_EXTENSION_CHANNELEXTENSION_H_

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "channel_extension/BoundedCopy.h"
#include "channel_extension/LinkRecord.h"
#include "channel_extension/LinkTypes.h"
#include "host/sdk/HighPoly.h"
#include "module/Diagnostics.h"
#include "module/Export.h"

// Copies `text` unchanged into `field`, a character array of `size`
// characters, cut to the size - 1 characters that fit with the terminator;
// the rest of the field is zero-filled. Used for the 80-character type Name
// and the 100-character LinkName of ChildCreation. A null `text` counts as
// empty; a null `field` or a `size` of 0 writes nothing.
QAXOI_API void CopyFieldText(char* field, std::size_t size, const char* text);

// Whether the BaseGuid of `ch`'s channel type equals `guid` (16 bytes). A null
// `ch` is reported as the failed check "ch" and answers false.
QAXOI_API bool ChannelBaseGuidMatch(A3d_Channel* ch, const _GUID& guid);

// The name of `ch`'s channel group: the group's own text (null when the group
// has no name), or "" when `ch` has no group. A null `ch` is reported as the
// failed check "ch" and answers "".
QAXOI_API const char* GetChannelGroupName(A3d_Channel* ch);

namespace channel_extension_internal {

// The names by which the extension's messages identify their operation. They
// are fixed texts, whatever the Base of the instantiation.
inline constexpr const char* kCreateLinkName =
    "ChannelExtension<class Aco_FloatChannel>::CreateLink";
inline constexpr const char* kSetChildLinkNameName =
    "ChannelExtension<class Aco_FloatChannel>::SetChildLinkName";
inline constexpr const char* kVerifyLinkName =
    "ChannelExtension<class Aco_FloatChannel>::VerifyLink";
inline constexpr const char* kSetSelfName = "ChannelExtension<class Aco_FloatChannel>::CE_SetSelf";

inline constexpr const char* kNoName = "[no-name]";
inline constexpr const char* kUnknownGroup = "[unknown]";
inline constexpr const char* kUnnamedLink = "[none]";

}  // namespace channel_extension_internal

template <class Base>
class ChannelExtension {
 public:
  // The most entries the link name table grows to; names of links at or past
  // this index are refused. Matches the host's own bound on child links. An
  // enumerator, not a static constant: GCC gives a class template's static
  // constants unique symbols, which keep a library from ever unloading.
  enum : unsigned int { kMaxLinkNames = A3d_Channel::kMaxChildLinks };

  // Serves no channel until CE_SetSelf; no link names, no group name.
  ChannelExtension();
  // Copies every field, `_self` and the child pointers included: the copy
  // serves the source's channel until CE_SetSelf is called on it.
  ChannelExtension(const ChannelExtension& other);
  ChannelExtension& operator=(const ChannelExtension& other);
  // Forgets the pointers; never touches the host's channels.
  virtual ~ChannelExtension();

  // A hook for deriving channels. Does nothing.
  virtual void CE_ExecuteTrigger(unsigned int trigger, void* data);

  // Binds the extension to `self`, the channel it serves (not owned), and
  // takes the name of its group now ("" without a group, "[unknown]" when the
  // group has no name). A null `self` is reported and leaves the binding as
  // it was.
  void CE_SetSelf(A3d_Channel* self);
  // The served channel's name, or "[no-name]" when it has none or no channel
  // is served. Never null.
  const char* CE_GetOwnName() const;
  // The group name taken by CE_SetSelf, or "[no-name]" when it is empty.
  // Never null; valid until the next CE_SetSelf.
  const char* CE_GetOwnCGRName() const;

  // Whether a child is linked at `link`. An index at or past the child count
  // is reported and answers false.
  bool CE_IsChildLinked(unsigned int link);
  // The name of the child linked at `link`, or null when nothing is linked
  // there, the child has no name or the index is not valid (reported).
  const char* CE_GetLinkedChildName(unsigned int link);
  // Evaluates the child linked at `link` (CallChannel). False when nothing is
  // linked there or the index is not valid (reported).
  bool CE_CallChild(unsigned int link);

  // Typed accessors. Each checks `link` against its kind's link GUID (an
  // index that is not valid and a child of another base GUID are reported;
  // an empty link is not), keeps the child it fetched, and talks to it
  // through the host class of its kind (Aco_ValueVectorChannel,
  // Aco_MatrixChannel, Aco_StringChannel). A child whose base GUID fits but
  // which is not of that class fails like an empty link. A failing accessor
  // leaves its outputs untouched.

  // `out` := the vector child's value.
  bool CE_GetVector(D3DXVECTOR3& out, unsigned int link);
  // The vector child's value, or `def` when it cannot be read.
  D3DXVECTOR3 CE_GetVector(unsigned int link, const D3DXVECTOR3& def);
  // `out` := (x, z) of the vector child's value.
  bool CE_GetVectorXZ(TolmMathLib::Vec2& out, unsigned int link);
  // (x, z) of the vector child's value, or `def` when it cannot be read.
  TolmMathLib::Vec2 CE_GetVectorXZ(unsigned int link, const TolmMathLib::Vec2& def);
  // Sets the vector child's value to a copy of `v`; `v` is never changed.
  bool CE_SetVector(D3DXVECTOR3& v, unsigned int link);
  bool CE_SetVector(const D3DXVECTOR3& v, unsigned int link);
  bool CE_SetVector(TolmMathLib::Vec3& v, unsigned int link);
  bool CE_SetVector(const TolmMathLib::Vec3& v, unsigned int link);

  // `out` := the matrix child's value.
  bool CE_GetMatrix(D3DXMATRIX& out, unsigned int link);
  // The matrix child's value, or `def` when it cannot be read.
  D3DXMATRIX CE_GetMatrix(unsigned int link, const D3DXMATRIX& def);
  // Sets the matrix child's value to a copy of `m`; `m` is never changed.
  bool CE_SetMatrix(D3DXMATRIX& m, unsigned int link);

  // `*out` := the text child's narrow text (owned by the child, possibly
  // null). False when `out` is null.
  bool CE_GetStringPointer(char** out, unsigned int link);
  // `*out` := the text child's wide text (owned by the child, possibly null).
  // False when `out` is null.
  bool CE_GetStringPointer(wchar_t** out, unsigned int link);
  // The text child's narrow text, or `def` when it cannot be read or is null.
  char* CE_GetStringPointer(unsigned int link, char* def);
  // The text child's wide text, null included; `def` only when the link
  // check fails.
  wchar_t* CE_GetWStringPointer(unsigned int link, wchar_t* def);
  // Copies the child's narrow text into `dst`, cut to the size - 1 characters
  // that fit with the terminator. False when `dst` is null, `size` is 0 or
  // the child's text is null (then `dst` is untouched).
  bool CE_CopyString(char* dst, unsigned int size, unsigned int link);
  // The same with the wide text; `size` counts wide characters.
  bool CE_CopyString(wchar_t* dst, unsigned int size, unsigned int link);
  // Appends the child's narrow text to `out` (never clears it). A null text
  // answers `acceptNull` and leaves `out` as it was.
  bool CE_CopyString(std::string& out, unsigned int link, bool acceptNull);
  // Appends the child's wide text to `out`. A null text answers false.
  bool CE_CopyString(std::wstring& out, unsigned int link);
  // Gives `text` to the text child unchanged (a null text included).
  bool CE_SetString(const char* text, unsigned int link);
  bool CE_SetString(const std::string& text, unsigned int link);
  bool CE_SetString(const wchar_t* text, unsigned int link);
  bool CE_SetString(const std::wstring& text, unsigned int link);

 protected:
  // Declares a new link of `_self` behind its existing ones, with the type
  // GUID `typeGuid`, the type name `TypeName` and the link name `Name` (both
  // cut to their record fields), and records `Name` in the link name table.
  // The link's Index is its position, or -1 when `unindexed`. A null text is
  // reported and counts as empty; without a served channel the call is
  // reported and declares nothing.
  virtual void CreateLink(_GUID typeGuid, const char* TypeName, const char* Name, int linkParam,
                          bool unindexed);
  // Records `name` for link `link`, filling skipped entries with "[none]". A
  // null name is reported and recorded as ""; an index at or past
  // kMaxLinkNames is reported and records nothing.
  virtual void SetChildLinkName(unsigned int link, const char* name);
  // The recorded name of link `link`; an unrecorded link is recorded as ""
  // first. Valid until that entry or the table changes. Never null.
  virtual const char* GetChildLinkName(unsigned int link);

  // CreateLink with the kind's link GUID and type name (LinkTypes.h), through
  // the virtual interface.
  void CreateValueLink(const char* Name, int linkParam, bool unindexed);
  void CreateVectorLink(const char* Name, int linkParam, bool unindexed);
  void CreateStringLink(const char* Name, int linkParam, bool unindexed);
  void CreateMatrixLink(const char* Name, int linkParam, bool unindexed);
  void CreateGenericLink(const char* Name, int linkParam, bool unindexed);

  // "ChildLinkError[<name>]" and "ChildLinkInvalid[<name>]", with the name
  // from the virtual GetChildLinkName.
  const std::string GetChildLinkErrorText(unsigned int link);
  const std::string GetChildLinkInvalidText(unsigned int link);

  // Tagged single values. An integer record has a 4-byte block, least
  // significant byte first (the low 32 bits of the value, signed values as
  // their two's complement); a text record holds the text and a zero byte.
  // A writer answers false, writing nothing, when the saver refuses the tag.
  static bool SaveChannelValue(A3dFileSaver& saver, const char* const tag, int value);
  static bool SaveChannelValue(A3dFileSaver& saver, const char* const tag, unsigned int value);
  static bool SaveChannelValue(A3dFileSaver& saver, const char* const tag, long value);
  static bool SaveChannelValue(A3dFileSaver& saver, const char* const tag, unsigned long value);
  static bool SaveChannelValue(A3dFileSaver& saver, const char* const tag, std::string value);
  // The text writer that the std::string form uses, for callers that keep
  // their text: it writes the same record without taking a copy first.
  static bool SaveChannelText(A3dFileSaver& saver, const char* const tag, const std::string& value);

  // A reader answers false, with `value` unchanged, when the record at the
  // read position does not carry `tag` (the position stays) or, for an
  // integer, when its block is not 4 bytes (the record is skipped). Signed
  // kinds take their sign from the 32-bit pattern. A text ends at the block's
  // first zero byte or at its end.
  static bool ReadChannelValue(A3dFileLoader& loader, const char* const tag, int& value);
  static bool ReadChannelValue(A3dFileLoader& loader, const char* const tag, unsigned int& value);
  static bool ReadChannelValue(A3dFileLoader& loader, const char* const tag, long& value);
  static bool ReadChannelValue(A3dFileLoader& loader, const char* const tag, unsigned long& value);
  static bool ReadChannelValue(A3dFileLoader& loader, const char* const tag, std::string& value);

  A3d_Channel* _self;                   // the channel served; null until CE_SetSelf
  A3d_Channel* _lastChild;              // last fetched by CE_GetLinkedChildName/CE_CallChild
  A3d_Channel* _vectorChild;            // last fetched by a vector accessor
  A3d_Channel* _textChild;              // last fetched by a text accessor
  A3d_Channel* _matrixChild;            // last fetched by a matrix accessor
  std::vector<std::string> _linkNames;  // link name by link index
  std::string _cgrName;                 // group name taken by CE_SetSelf

 private:
  // Whether `link` is below the child count of `_self`; reports it when not.
  bool VerifyLink(unsigned int link) const;
  // Whether `link` is valid, a child is linked there and its BaseGuid is
  // `guid`. An invalid index and a wrong type are reported.
  bool VerifyLink(unsigned int link, const _GUID& guid) const;

  // The child count of `_self`, 0 without a served channel.
  unsigned int ChildCount() const;
  // Checks `link` against `guid` and, when it passes, stores the child in
  // `*kept` and answers it; null when the check fails.
  A3d_Channel* CheckAndFetch(unsigned int link, const _GUID& guid, A3d_Channel** kept);
  // The vector, matrix or text child at `link`, or null when it cannot be
  // talked to.
  Aco_ValueVectorChannel* FetchVectorChild(unsigned int link);
  Aco_MatrixChannel* FetchMatrixChild(unsigned int link);
  Aco_StringChannel* FetchTextChild(unsigned int link);
};

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
  if (!CheckOrReport(self != nullptr, channel_extension_internal::kSetSelfName, "self")) return;
  _self = self;
  const char* const group = GetChannelGroupName(self);
  _cgrName = group != nullptr ? group : channel_extension_internal::kUnknownGroup;
}

template <class Base>
const char* ChannelExtension<Base>::CE_GetOwnName() const {
  const char* const name = _self != nullptr ? _self->GetChannelName() : nullptr;
  return name != nullptr ? name : channel_extension_internal::kNoName;
}

template <class Base>
const char* ChannelExtension<Base>::CE_GetOwnCGRName() const {
  return _cgrName.empty() ? channel_extension_internal::kNoName : _cgrName.c_str();
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
  ReportError(channel_extension_internal::kVerifyLinkName, "ChannelBaseGuidMatch().Failed.Link[%d]",
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
  bounded_copy::CopyTerminated(dst, size, text);
  return true;
}

template <class Base>
bool ChannelExtension<Base>::CE_CopyString(wchar_t* dst, unsigned int size, unsigned int link) {
  if (dst == nullptr || size == 0) return false;
  Aco_StringChannel* const child = FetchTextChild(link);
  if (child == nullptr) return false;
  const wchar_t* const text = child->GetWString();
  if (text == nullptr) return false;
  bounded_copy::CopyTerminated(dst, size, text);
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
  using channel_extension_internal::kCreateLinkName;
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
  using channel_extension_internal::kSetChildLinkNameName;
  if (!CheckOrReport(name != nullptr, kSetChildLinkNameName, "name")) name = "";
  if (!CheckOrReport(link < kMaxLinkNames, kSetChildLinkNameName, "link < kMaxLinkNames")) return;
  if (_linkNames.size() <= link) {
    _linkNames.resize(static_cast<std::size_t>(link) + 1, channel_extension_internal::kUnnamedLink);
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

namespace channel_extension_internal {

// The 32-bit value a signed reader sees in `bits`: the two's-complement
// reading of its low 32 bits.
inline long SignedFrom32Bits(unsigned long bits) {
  const unsigned long low = bits & 0xFFFFFFFFul;
  if (low < 0x80000000ul) return static_cast<long>(low);
  return -static_cast<long>(0xFFFFFFFFul - low) - 1;
}

}  // namespace channel_extension_internal

template <class Base>
bool ChannelExtension<Base>::ReadChannelValue(A3dFileLoader& loader, const char* const tag,
                                              int& value) {
  unsigned long bits = 0;
  if (!ReadChannelValue(loader, tag, bits)) return false;
  value = static_cast<int>(channel_extension_internal::SignedFrom32Bits(bits));
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
  value = channel_extension_internal::SignedFrom32Bits(bits);
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

// The module's one instantiation lives in the module; clients use it from
// there.
extern template class QAXOI_API ChannelExtension<Aco_FloatChannel>;

#endif  // QAX_CHANNEL_EXTENSION_CHANNELEXTENSION_H_
