// The host's matrix channel ("Matrix").
#ifndef QAX_HOST_SDK_ACO_MATRIXCHANNEL_H_
#define QAX_HOST_SDK_ACO_MATRIXCHANNEL_H_

#include "host/sdk/A3d_Channel.h"
#include "host/sdk/HighPolyExport.h"
#include "host/sdk/MathTypes.h"

// A channel that holds one matrix, the identity at first. Type "Matrix",
// TypeGuid and BaseGuid {2F605354-314D-4775-86E4-1F733550B227}.
class HIGHPOLY_API Aco_MatrixChannel : public A3d_Channel {
 public:
  static const _GUID kTypeGuid;

  Aco_MatrixChannel();

  virtual D3DXMATRIX GetMatrix();
  virtual void SetMatrix(D3DXMATRIX value);

 private:
  D3DXMATRIX value_;
};

#endif  // QAX_HOST_SDK_ACO_MATRIXCHANNEL_H_
