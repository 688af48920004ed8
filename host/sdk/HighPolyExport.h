// Export macro of the host engine's SDK library (HighPoly).
//
// Every class and function that the host exports to channel modules carries
// HIGHPOLY_API. The library is built with hidden visibility, so a symbol
// without it stays private to the host.
#ifndef QAX_HOST_SDK_HIGHPOLYEXPORT_H_
#define QAX_HOST_SDK_HIGHPOLYEXPORT_H_

#if defined(_WIN32)
#if defined(HIGHPOLY_BUILDING)
#define HIGHPOLY_API __declspec(dllexport)
#else
#define HIGHPOLY_API __declspec(dllimport)
#endif
#else
#define HIGHPOLY_API __attribute__((visibility("default")))
#endif

#endif  // QAX_HOST_SDK_HIGHPOLYEXPORT_H_
