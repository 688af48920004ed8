#include "tests/support/AllocationFailure.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

// Plain globals: they must work before any constructor runs and after every
// destructor, since operator new is used throughout.
bool armed = false;
bool failed = false;
std::size_t counted = 0;
std::size_t failAt = 0;
std::size_t inUse = 0;
std::size_t peak = 0;
std::size_t ceiling = 0;  // 0: none

// A block of `size` bytes, or null when this is the allocation to fail or
// memory is out. (Nothing here allocates over-aligned types, so the aligned
// forms of operator new are left to the library.)
void* Allocate(std::size_t size) noexcept {
  if (armed && ++counted == failAt) {
    failed = true;
    return nullptr;
  }
  if (ceiling != 0 && (inUse >= ceiling || size > ceiling - inUse)) return nullptr;
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p != nullptr && (inUse += malloc_usable_size(p)) > peak) peak = inUse;
  return p;
}

void* OrThrow(void* p) {
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void Release(void* p) noexcept {
  if (p == nullptr) return;
  inUse -= malloc_usable_size(p);
  std::free(p);
}

}  // namespace

namespace qaxoi::test {

ScopedAllocationFailure::ScopedAllocationFailure(std::size_t n) {
  counted = 0;
  failed = false;
  failAt = n;
  armed = true;
}
ScopedAllocationFailure::~ScopedAllocationFailure() { armed = false; }
bool AllocationFailureHappened() { return failed; }
std::size_t BytesInUse() { return inUse; }
std::size_t PeakBytesInUse() { return peak; }
void ResetPeakBytes() { peak = inUse; }

ScopedHeapCeiling::ScopedHeapCeiling(std::size_t bytes) { ceiling = inUse + bytes; }
ScopedHeapCeiling::~ScopedHeapCeiling() { ceiling = 0; }

}  // namespace qaxoi::test

using std::nothrow_t;
using std::size_t;

void* operator new(size_t n) { return OrThrow(Allocate(n)); }
void* operator new[](size_t n) { return OrThrow(Allocate(n)); }
void* operator new(size_t n, const nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](size_t n, const nothrow_t&) noexcept { return Allocate(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const nothrow_t&) noexcept { Release(p); }
