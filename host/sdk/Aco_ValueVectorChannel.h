// The host's vector channel ("Value Vector").
#ifndef QAX_HOST_SDK_ACO_VALUEVECTORCHANNEL_H_
#define QAX_HOST_SDK_ACO_VALUEVECTORCHANNEL_H_

#include "host/sdk/A3d_Channel.h"
#include "host/sdk/HighPolyExport.h"
#include "host/sdk/MathTypes.h"

// A channel that holds one vector, (0, 0, 0) at first. Type "Value Vector",
// TypeGuid and BaseGuid {9D045960-EAC2-4C40-9BBF-10F32F7FA305}.
class HIGHPOLY_API Aco_ValueVectorChannel : public A3d_Channel {
 public:
  static const _GUID kTypeGuid;

  Aco_ValueVectorChannel();

  virtual D3DXVECTOR3 GetVector();
  virtual void SetVector(D3DXVECTOR3 value);

 private:
  D3DXVECTOR3 value_;
};

#endif  // QAX_HOST_SDK_ACO_VALUEVECTORCHANNEL_H_
