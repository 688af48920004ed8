// Counts the bytes of the C++ heap in use: the program that includes
// HeapCounter.cpp replaces the global operator new and delete with versions
// that keep the count.
#ifndef QAX_BENCH_HEAPCOUNTER_H_
#define QAX_BENCH_HEAPCOUNTER_H_

#include <cstddef>

namespace qaxoi::bench {

// Bytes allocated through operator new and not yet freed, each block counted
// at the size the allocator gave it (its request rounded up).
std::size_t HeapInUse();

// The most HeapInUse() has been since the last ResetHeapPeak().
std::size_t HeapPeak();
void ResetHeapPeak();

}  // namespace qaxoi::bench

#endif  // QAX_BENCH_HEAPCOUNTER_H_
