// The engine's allocator. Every allocation path (these functions and operator new) calls
// OutOfMemory on failure, so no caller ever sees a null result, except around the single
// reallocation of String::TryResize, which switches the handler off for that call.
#pragma once

#include <cstddef>

void* MemAllocate(size_t size);
void* MemReallocate(void* block, size_t size);
void MemFree(void* block);

// Returns the previous setting.
bool SetOutOfMemoryHandlerEnabled(bool enabled);

// Shows "Out Of Memory. ..." with the requested size and a dump of 80 stack words, then ends
// the process.
[[noreturn]] void OutOfMemory(size_t requestedSize);
