// Export macro of the QAXOntologyItem channel module.
//
// The module is built with hidden visibility: its entry points, its classes
// (whole, with their static members), its diagnostics and the free functions
// that its classes' header code calls carry QAXOI_API, so that hosts and
// tests link against it like any client; nothing else is visible.
#ifndef QAX_MODULE_EXPORT_H_
#define QAX_MODULE_EXPORT_H_

#if defined(_WIN32)
#if defined(QAXOI_BUILDING)
#define QAXOI_API __declspec(dllexport)
#else
#define QAXOI_API __declspec(dllimport)
#endif
#else
#define QAXOI_API __attribute__((visibility("default")))
#endif

// Default visibility without exporting or importing: for a class template
// whose instantiations a client names before the module's explicit
// instantiation is declared (GCC takes a class's visibility when the class
// is first instantiated). Nothing on Windows, where QAXOI_API decides.
#if defined(_WIN32)
#define QAXOI_VISIBLE
#else
#define QAXOI_VISIBLE __attribute__((visibility("default")))
#endif

// For functions that only the module's own tests call: visible on ELF, where
// the tests link the module like any client, and not exported from the DLL,
// which gives the engine only what it uses.
#if defined(_WIN32)
#define QAXOI_TESTED_API
#else
#define QAXOI_TESTED_API __attribute__((visibility("default")))
#endif

// printf-style checking of a function's format argument (1-based positions).
// MinGW's plain "printf" means the Microsoft runtime's formats, without %zu;
// the module formats with the C99 functions that MinGW-w64 gives C++.
#if defined(__MINGW32__)
#define QAXOI_PRINTF_FORMAT(format_index, first_arg) \
  __attribute__((format(gnu_printf, format_index, first_arg)))
#elif defined(__GNUC__) || defined(__clang__)
#define QAXOI_PRINTF_FORMAT(format_index, first_arg) \
  __attribute__((format(printf, format_index, first_arg)))
#else
#define QAXOI_PRINTF_FORMAT(format_index, first_arg)
#endif

#endif  // QAX_MODULE_EXPORT_H_
