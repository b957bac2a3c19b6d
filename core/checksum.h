// The additive 32-bit checksum that guards the archive's header, data block, files and image.
// It is also the hash of text keys in HashTable.
#pragma once

#include <cstdint>

inline constexpr uint32_t kChecksumSeed = 0x79E2BC9D;

// Seed, plus every whole little-endian 32-bit word, plus each of the 1 to 3 remaining bytes
// sign-extended, plus n. A null block or n < 1 gives the seed.
uint32_t ArchiveChecksum(const void* data, int n);
