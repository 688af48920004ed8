#include "host/sdk/ChildCreation.h"

namespace {

constexpr _GUID kAnyTypeGuid = {
    0x11111111, 0x1111, 0x1111, {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}};

}  // namespace

ChildCreation::ChildCreation()
    : Type(),
      Index(-1),
      Flag1(0),
      Flag2(0),
      LinkName{},
      ExtraGuid{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
      ExtraInt(0),
      LinkParam(1) {
  Type.TypeGuid = kAnyTypeGuid;
  Type.BaseGuid = kAnyTypeGuid;
}
