#pragma once

#include <cstddef>
#include <cstdint>

// CRC-32 by carry-less multiplication (PCLMULQDQ with SSE4.1): 64 bytes are
// folded in per step, many times faster than any table.

// True when this processor has both instruction sets.
bool CanFoldCrc32();

// Continues the checksum's inner state (not inverted) over the bytes. Only
// where CanFoldCrc32 holds; size at least 64 and a multiple of 16.
std::uint32_t FoldCrc32(std::uint32_t state, const unsigned char* bytes, std::size_t size);
