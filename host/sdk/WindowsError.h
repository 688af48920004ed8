// The text Windows gives for a system error code (an internal helper of the
// host SDK's Windows code; not exported).
#ifndef QAX_HOST_SDK_WINDOWSERROR_H_
#define QAX_HOST_SDK_WINDOWSERROR_H_

#include <string>

// The system's message for `code` ("The specified module could not be
// found"), without its line end and final period, followed by the code in
// parentheses; "system error N" for a code the system has no text for.
std::string WindowsErrorText(unsigned long code);

#endif  // QAX_HOST_SDK_WINDOWSERROR_H_
