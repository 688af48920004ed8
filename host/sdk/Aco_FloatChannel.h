// The host's float channel ("Value").
#ifndef QAX_HOST_SDK_ACO_FLOATCHANNEL_H_
#define QAX_HOST_SDK_ACO_FLOATCHANNEL_H_

#include "host/sdk/A3d_Channel.h"
#include "host/sdk/HighPolyExport.h"

// A channel that holds one float. Its type is "Value" with TypeGuid and
// BaseGuid {BE69CCC4-CFC1-4362-AC81-767D199BBFC3}.
class HIGHPOLY_API Aco_FloatChannel : public A3d_Channel {
 public:
  static const _GUID kTypeGuid;

  Aco_FloatChannel();
  Aco_FloatChannel(const Aco_FloatChannel& other);
  Aco_FloatChannel& operator=(const Aco_FloatChannel& other);
  ~Aco_FloatChannel() override;

  // Remembers the value as the old value of the next evaluation.
  void CallChannel() override;
  void* GetFeedbackClass() override;

  virtual float GetFloat();
  // The value before the last evaluation.
  virtual float GetOldFloat();
  virtual void SetFloat(float value);
  virtual float GetDefaultFloat();
  virtual void SetDefaultFloat(float value);
  virtual int GetDefaultFloatSetting();
  virtual void SetDefaultFloatSetting(int setting);

 private:
  float value_;
  float oldValue_;
  float defaultValue_;
  int defaultSetting_;
};

#endif  // QAX_HOST_SDK_ACO_FLOATCHANNEL_H_
