// The plain float records that vector and matrix channels exchange.
#ifndef QAX_HOST_SDK_MATHTYPES_H_
#define QAX_HOST_SDK_MATHTYPES_H_

// Three floats x, y, z: the host's vector value.
struct D3DXVECTOR3 {
  float x;
  float y;
  float z;
};

// A 4 by 4 matrix of floats, stored row by row.
struct D3DXMATRIX {
  float m[4][4];
};

namespace TolmMathLib {

// Same layout as D3DXVECTOR3.
struct Vec3 {
  float x;
  float y;
  float z;
};

// Two floats; receives the x and z of a vector (the horizontal plane).
struct Vec2 {
  float x;
  float y;
};

}  // namespace TolmMathLib

static_assert(sizeof(D3DXVECTOR3) == 12, "D3DXVECTOR3 layout");
static_assert(sizeof(TolmMathLib::Vec3) == 12, "Vec3 layout");
static_assert(sizeof(TolmMathLib::Vec2) == 8, "Vec2 layout");
static_assert(sizeof(D3DXMATRIX) == 64, "D3DXMATRIX layout");

#endif  // QAX_HOST_SDK_MATHTYPES_H_
