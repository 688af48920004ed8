// The host's text channel ("Text").
#ifndef QAX_HOST_SDK_ACO_STRINGCHANNEL_H_
#define QAX_HOST_SDK_ACO_STRINGCHANNEL_H_

#include <string>

#include "host/sdk/A3d_Channel.h"
#include "host/sdk/HighPolyExport.h"

// A channel that holds a narrow and a wide text, kept apart. Both start null;
// setting null makes them null again. Type "Text", TypeGuid and BaseGuid
// {6E6FB247-4627-4FBE-8973-48344F23881E}.
class HIGHPOLY_API Aco_StringChannel : public A3d_Channel {
 public:
  static const _GUID kTypeGuid;

  Aco_StringChannel();
  Aco_StringChannel(const Aco_StringChannel& other);
  Aco_StringChannel& operator=(const Aco_StringChannel& other);
  ~Aco_StringChannel() override;

  // The narrow text, or null. Valid until the text changes.
  virtual char* GetString();
  // Keeps a copy of `text`; null makes the text null.
  virtual void SetString(const char* text);
  // The wide text, or null. Valid until the text changes.
  virtual wchar_t* GetWString();
  // Keeps a copy of `text`; null makes the text null.
  virtual void SetWString(const wchar_t* text);

 private:
  std::string text_;
  bool hasText_;
  std::wstring wideText_;
  bool hasWideText_;
};

#endif  // QAX_HOST_SDK_ACO_STRINGCHANNEL_H_
