// The engine's allocator: every allocation of the process, plain or by operator new, comes here,
// and a failed request goes to OutOfMemory, which ends the process. Callers therefore never test
// for null. The one exception is String::TryResize, which switches the handler off around its
// single reallocation and restores the previous setting at once.
#include "core/memory.h"

#include <cstdlib>
#include <new>

namespace {

// On from the start of the process: the flag is constant-initialised, so the handler is in place
// before any constructor of a global object allocates.
bool outOfMemoryHandlerEnabled = true;

// malloc(0) and realloc(p, 0) may legally return null (or free p); the engine wants a real block.
size_t AtLeastOneByte(size_t size) { return size == 0 ? 1 : size; }

void* AllocateOrFail(size_t size) {
  void* block = std::malloc(AtLeastOneByte(size));
  if (block == nullptr && outOfMemoryHandlerEnabled) OutOfMemory(size);
  return block;
}

// operator new may not return null, whatever the switch says.
void* AllocateObject(size_t size) {
  void* block = std::malloc(AtLeastOneByte(size));
  if (block == nullptr) OutOfMemory(size);
  return block;
}

}  // namespace

void* MemAllocate(size_t size) { return AllocateOrFail(size); }

void* MemReallocate(void* block, size_t size) {
  void* moved = std::realloc(block, AtLeastOneByte(size));
  if (moved == nullptr && outOfMemoryHandlerEnabled) OutOfMemory(size);
  return moved;
}

void MemFree(void* block) { std::free(block); }

bool SetOutOfMemoryHandlerEnabled(bool enabled) {
  bool previous = outOfMemoryHandlerEnabled;
  outOfMemoryHandlerEnabled = enabled;
  return previous;
}

// Object construction goes through the same allocator, so it is covered by the same handler.
// The nothrow forms honour the switch like MemAllocate; the plain forms never return null.
void* operator new(size_t size) { return AllocateObject(size); }
void* operator new[](size_t size) { return AllocateObject(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return AllocateOrFail(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return AllocateOrFail(size); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
