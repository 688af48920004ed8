#include "host/sdk/ChannelHostState.h"

#include "host/sdk/A3d_Channel.h"
#include "host/sdk/Aco_FloatChannel.h"
#include "host/sdk/Aco_MatrixChannel.h"
#include "host/sdk/Aco_StringChannel.h"
#include "host/sdk/Aco_ValueVectorChannel.h"

HostStateKind HostStateKindOf(A3d_Channel& channel) {
  if (dynamic_cast<Aco_FloatChannel*>(&channel) != nullptr) return HostStateKind::kFloat;
  if (dynamic_cast<Aco_StringChannel*>(&channel) != nullptr) return HostStateKind::kText;
  if (dynamic_cast<Aco_ValueVectorChannel*>(&channel) != nullptr) return HostStateKind::kVector;
  if (dynamic_cast<Aco_MatrixChannel*>(&channel) != nullptr) return HostStateKind::kMatrix;
  return HostStateKind::kNone;
}

GroupFileHostState CaptureHostState(A3d_Channel& channel) {
  GroupFileHostState state;
  state.kind = HostStateKindOf(channel);
  switch (state.kind) {
    case HostStateKind::kNone:
      break;
    case HostStateKind::kFloat:
      state.value = dynamic_cast<Aco_FloatChannel&>(channel).GetFloat();
      break;
    case HostStateKind::kText: {
      Aco_StringChannel& text = dynamic_cast<Aco_StringChannel&>(channel);
      const char* narrow = text.GetString();
      state.hasText = narrow != nullptr;
      if (narrow != nullptr) state.text = narrow;
      const wchar_t* wide = text.GetWString();
      state.hasWideText = wide != nullptr;
      if (wide != nullptr) state.wideText = wide;
      break;
    }
    case HostStateKind::kVector:
      state.vector = dynamic_cast<Aco_ValueVectorChannel&>(channel).GetVector();
      break;
    case HostStateKind::kMatrix:
      state.matrix = dynamic_cast<Aco_MatrixChannel&>(channel).GetMatrix();
      break;
  }
  return state;
}

bool RestoreHostState(A3d_Channel& channel, const GroupFileHostState& state) {
  if (HostStateKindOf(channel) != state.kind) return false;
  switch (state.kind) {
    case HostStateKind::kNone:
      break;
    case HostStateKind::kFloat:
      dynamic_cast<Aco_FloatChannel&>(channel).SetFloat(state.value);
      break;
    case HostStateKind::kText: {
      // A text channel keeps its texts up to the first zero character.
      Aco_StringChannel& text = dynamic_cast<Aco_StringChannel&>(channel);
      text.SetString(state.hasText ? state.text.c_str() : nullptr);
      text.SetWString(state.hasWideText ? state.wideText.c_str() : nullptr);
      break;
    }
    case HostStateKind::kVector:
      dynamic_cast<Aco_ValueVectorChannel&>(channel).SetVector(state.vector);
      break;
    case HostStateKind::kMatrix:
      dynamic_cast<Aco_MatrixChannel&>(channel).SetMatrix(state.matrix);
      break;
  }
  return true;
}
