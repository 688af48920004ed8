#include "host/sdk/GroupFileFormat.h"

const char* HostStateKindName(HostStateKind kind) {
  switch (kind) {
    case HostStateKind::kNone:
      return "none";
    case HostStateKind::kFloat:
      return "float";
    case HostStateKind::kText:
      return "text";
    case HostStateKind::kVector:
      return "vector";
    case HostStateKind::kMatrix:
      return "matrix";
  }
  return "unknown";
}
