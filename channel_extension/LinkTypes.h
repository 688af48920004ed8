// The channel types that child links are declared with.
//
// A link of a given kind takes every child whose ChannelType names the kind's
// GUID as its BaseGuid. Each kind's GUID goes into the TypeGuid of the
// ChildCreation record that declares the link, and its type name into the
// record's type Name.
#ifndef QAX_CHANNEL_EXTENSION_LINKTYPES_H_
#define QAX_CHANNEL_EXTENSION_LINKTYPES_H_

#include "host/sdk/Guid.h"
#include "module/TypeGuid.h"

// A host float channel, {BE69CCC4-CFC1-4362-AC81-767D199BBFC3}. The host's
// float channel module is named after this GUID.
inline constexpr _GUID kValueLinkGuid = {
    0xBE69CCC4, 0xCFC1, 0x4362, {0xAC, 0x81, 0x76, 0x7D, 0x19, 0x9B, 0xBF, 0xC3}};
inline constexpr const char* kValueLinkTypeName = "Value";

// A value vector channel, {9D045960-EAC2-4C40-9BBF-10F32F7FA305}.
inline constexpr _GUID kValueVectorLinkGuid = {
    0x9D045960, 0xEAC2, 0x4C40, {0x9B, 0xBF, 0x10, 0xF3, 0x2F, 0x7F, 0xA3, 0x05}};
inline constexpr const char* kValueVectorLinkTypeName = "Value Vector";

// A host text channel (Aco_StringChannel), {6E6FB247-4627-4FBE-8973-48344F23881E}.
inline constexpr _GUID kTextLinkGuid = {
    0x6E6FB247, 0x4627, 0x4FBE, {0x89, 0x73, 0x48, 0x34, 0x4F, 0x23, 0x88, 0x1E}};
inline constexpr const char* kTextLinkTypeName = "Text";

// A matrix channel, {2F605354-314D-4775-86E4-1F733550B227}.
inline constexpr _GUID kMatrixLinkGuid = {
    0x2F605354, 0x314D, 0x4775, {0x86, 0xE4, 0x1F, 0x73, 0x35, 0x50, 0xB2, 0x27}};
inline constexpr const char* kMatrixLinkTypeName = "Matrix";

// Any channel type, {11111111-1111-1111-1111-111111111111}. Also the TypeGuid
// and BaseGuid of every default-constructed ChildCreation.
inline constexpr _GUID kAnyTypeLinkGuid = {
    0x11111111, 0x1111, 0x1111, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}};
inline constexpr const char* kAnyTypeLinkTypeName = "all types are accepted";

// A nested ontology item channel: this module's own channel type.
inline constexpr _GUID kOntologyItemLinkGuid = kQAXOntologyItemTypeGuid;
inline constexpr const char* kOntologyItemLinkTypeName = kQAXOntologyItemTypeName;

#endif  // QAX_CHANNEL_EXTENSION_LINKTYPES_H_
