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
// it; that is the one instantiation there is, and the member definitions live
// beside it in ChannelExtension.cpp.
#ifndef QAX_CHANNEL_EXTENSION_CHANNELEXTENSION_H_
#define QAX_CHANNEL_EXTENSION_CHANNELEXTENSION_H_

#include <cstddef>
#include <string>
#include <vector>

#include "channel_extension/CopyFieldText.h"
#include "channel_extension/LinkTypes.h"
#include "host/sdk/HighPoly.h"
#include "module/Diagnostics.h"
#include "module/Export.h"

// Whether the BaseGuid of `ch`'s channel type equals `guid` (16 bytes). A null
// `ch` is reported as the failed check "ch" and answers false.
QAXOI_API bool ChannelBaseGuidMatch(A3d_Channel* ch, const _GUID& guid);

// The name of `ch`'s channel group: the group's own text (null when the group
// has no name), or "" when `ch` has no group. A null `ch` is reported as the
// failed check "ch" and answers "".
QAXOI_API const char* GetChannelGroupName(A3d_Channel* ch);

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

// The module's one instantiation lives in the module; clients use it from
// there.
extern template class QAXOI_API ChannelExtension<Aco_FloatChannel>;

#endif  // QAX_CHANNEL_EXTENSION_CHANNELEXTENSION_H_
