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

// Counts a block handed out (null: none) and answers it.
void* Counted(void* p) {
  if (p != nullptr) {
    inUse += malloc_usable_size(p);
    if (inUse > peak) peak = inUse;
  }
  return p;
}

void Release(void* p) noexcept {
  if (p == nullptr) return;
  inUse -= malloc_usable_size(p);
  std::free(p);
}

// Answers whether this allocation is the one to fail.
bool ShouldFail() {
  if (!armed) return false;
  ++counted;
  if (counted == failAt) {
    failed = true;
    return true;
  }
  return false;
}

void* Allocate(std::size_t size) {
  if (ShouldFail()) return nullptr;
  return Counted(std::malloc(size == 0 ? 1 : size));
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  if (ShouldFail()) return nullptr;
  const std::size_t align = static_cast<std::size_t>(alignment);
  const std::size_t rounded = ((size == 0 ? 1 : size) + align - 1) / align * align;
  return Counted(std::aligned_alloc(align, rounded));
}

}  // namespace

namespace qax_test {

void FailAllocationNumber(std::size_t n) {
  counted = 0;
  failed = false;
  failAt = n;
  armed = true;
}

void DisarmAllocationFailure() { armed = false; }
std::size_t AllocationsCounted() { return counted; }
bool AllocationFailureHappened() { return failed; }
std::size_t BytesInUse() { return inUse; }
std::size_t PeakBytesInUse() { return peak; }
void ResetPeakBytes() { peak = inUse; }

}  // namespace qax_test

void* operator new(std::size_t size) {
  void* p = Allocate(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](std::size_t size) {
  void* p = Allocate(size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new(std::size_t size, std::align_val_t alignment) {
  void* p = AllocateAligned(size, alignment);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  void* p = AllocateAligned(size, alignment);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AllocateAligned(size, alignment);
}

void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete(void* p, std::align_val_t) noexcept { Release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { Release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p); }
