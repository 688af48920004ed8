// Replaces the global operator new and delete of the program that links this
// file; everything else in the process (the module and the stand-in
// libraries included) allocates through them.
#include "bench/HeapCounter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace qaxoi::bench {
namespace {

// The benchmarks run on one thread.
std::size_t inUse = 0;
std::size_t peak = 0;

void* Counted(void* block) {
  if (block != nullptr) {
    inUse += malloc_usable_size(block);
    if (inUse > peak) peak = inUse;
  }
  return block;
}

void Release(void* block) {
  if (block == nullptr) return;
  inUse -= malloc_usable_size(block);
  std::free(block);
}

void* Allocate(std::size_t size) {
  void* block = Counted(std::malloc(size == 0 ? 1 : size));
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  const std::size_t align = static_cast<std::size_t>(alignment);
  // aligned_alloc wants a size that is a multiple of the alignment.
  const std::size_t rounded = (size + align - 1) / align * align;
  void* block = Counted(std::aligned_alloc(align, rounded == 0 ? align : rounded));
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

}  // namespace

std::size_t HeapInUse() { return inUse; }
std::size_t HeapPeak() { return peak; }
void ResetHeapPeak() { peak = inUse; }

}  // namespace qaxoi::bench

void* operator new(std::size_t size) { return qaxoi::bench::Allocate(size); }
void* operator new[](std::size_t size) { return qaxoi::bench::Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return qaxoi::bench::Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return qaxoi::bench::Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return qaxoi::bench::AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return qaxoi::bench::AllocateAligned(size, alignment);
}

void operator delete(void* block) noexcept { qaxoi::bench::Release(block); }
void operator delete[](void* block) noexcept { qaxoi::bench::Release(block); }
void operator delete(void* block, std::size_t) noexcept { qaxoi::bench::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { qaxoi::bench::Release(block); }
void operator delete(void* block, std::align_val_t) noexcept { qaxoi::bench::Release(block); }
void operator delete[](void* block, std::align_val_t) noexcept { qaxoi::bench::Release(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
  qaxoi::bench::Release(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
  qaxoi::bench::Release(block);
}
