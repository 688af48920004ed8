// Fault injection for tests: makes one chosen allocation of the process fail.
//
// Linking AllocationFailure.cpp into a test program replaces the global
// operator new and delete of the whole process, the module's included. While
// armed, allocations are counted from 1 and the N-th one fails: the throwing
// forms raise std::bad_alloc, the nothrow forms answer null. Every other
// allocation succeeds. It also keeps count of the bytes in use, so that tests
// can bound what an operation allocates.
#ifndef QAX_TESTS_SUPPORT_ALLOCATIONFAILURE_H_
#define QAX_TESTS_SUPPORT_ALLOCATIONFAILURE_H_

#include <cstddef>

namespace qaxoi::test {

// Whether the failure armed last has happened.
bool AllocationFailureHappened();

// The bytes that operator new has handed out and that are not deleted yet,
// as the C library sizes the blocks (never less than asked for), counted
// whether or not a failure is armed.
std::size_t BytesInUse();

// The most BytesInUse() reached since the last ResetPeakBytes(), which starts
// a new peak at the current BytesInUse().
std::size_t PeakBytesInUse();
void ResetPeakBytes();

// Makes allocation number `n` (from 1) after construction fail; no
// allocation fails after destruction.
class ScopedAllocationFailure {
 public:
  explicit ScopedAllocationFailure(std::size_t n);
  ~ScopedAllocationFailure();
  ScopedAllocationFailure(const ScopedAllocationFailure&) = delete;
  ScopedAllocationFailure& operator=(const ScopedAllocationFailure&) = delete;
};

// A memory limit for the operations of a test: while it lives, an allocation
// that would take BytesInUse() more than `bytes` above what it was at
// construction fails as memory running out does. A regression that
// allocates without bound then fails the test instead of swapping.
class ScopedHeapCeiling {
 public:
  explicit ScopedHeapCeiling(std::size_t bytes);
  ~ScopedHeapCeiling();
  ScopedHeapCeiling(const ScopedHeapCeiling&) = delete;
  ScopedHeapCeiling& operator=(const ScopedHeapCeiling&) = delete;
};

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_ALLOCATIONFAILURE_H_
