// Export macro of the QAX ontology service library.
//
// The library is built with hidden visibility: every class and function that
// modules and hosts use carries QAX_API; nothing else is visible. QAX_BUILDING
// is defined only while the library itself is compiled.
#ifndef QAX_HOST_QAX_QAXEXPORT_H_
#define QAX_HOST_QAX_QAXEXPORT_H_

#if defined(_WIN32)
#if defined(QAX_BUILDING)
#define QAX_API __declspec(dllexport)
#else
#define QAX_API __declspec(dllimport)
#endif
#else
#define QAX_API __attribute__((visibility("default")))
#endif

#endif  // QAX_HOST_QAX_QAXEXPORT_H_
