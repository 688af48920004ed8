// The host's own state of its built-in value channels, which their
// SaveChannel does not write, taken from and given back to a channel.
// Internal to the host library.
#ifndef QAX_HOST_SDK_CHANNELHOSTSTATE_H_
#define QAX_HOST_SDK_CHANNELHOSTSTATE_H_

#include "host/sdk/GroupFileFormat.h"
#include "host/sdk/GroupFileReader.h"

class A3d_Channel;

// The kind of host state `channel` carries, by its class: float for
// Aco_FloatChannel and every class derived from it (module channels among
// them), text, vector or matrix for the other built-ins, none otherwise.
HostStateKind HostStateKindOf(A3d_Channel& channel);

// The channel's host state, of the kind HostStateKindOf answers.
GroupFileHostState CaptureHostState(A3d_Channel& channel);

// Gives `state` to `channel`. False, changing nothing, when the state's kind
// is not the channel's kind.
bool RestoreHostState(A3d_Channel& channel, const GroupFileHostState& state);

#endif  // QAX_HOST_SDK_CHANNELHOSTSTATE_H_
