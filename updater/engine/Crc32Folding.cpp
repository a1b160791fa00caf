#include "Crc32Folding.h"

#include <cpuid.h>
#include <smmintrin.h>
#include <wmmintrin.h>

namespace {

// Powers of x modulo the polynomial, bit-reflected, for the four-block fold
// (x^544, x^480), the one-block fold (x^160, x^96), the fold to 64 bits
// (x^64), and the Barrett reduction (the polynomial and its quotient).
alignas(16) const std::uint64_t kFold4[2] = {0x0154442bd4u, 0x01c6e41596u};
alignas(16) const std::uint64_t kFold1[2] = {0x01751997d0u, 0x00ccaa009eu};
alignas(16) const std::uint64_t kFold64[2] = {0x0163cd6124u, 0};
alignas(16) const std::uint64_t kBarrett[2] = {0x01db710641u, 0x01f7011641u};

// The 128 bits times the constant's two halves, folded onto the next block.
__attribute__((target("pclmul,sse4.1"))) inline __m128i Fold(__m128i value, __m128i constants, __m128i next)
{
    __m128i low = _mm_clmulepi64_si128(value, constants, 0x00);
    __m128i high = _mm_clmulepi64_si128(value, constants, 0x11);
    return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

} // namespace

bool CanFoldCrc32()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0)
        return false;
    return (ecx & bit_PCLMUL) != 0 && (ecx & bit_SSE4_1) != 0;
}

// Only this function uses the instructions: the program still runs on a
// processor without them, which takes the tables instead.
__attribute__((target("pclmul,sse4.1"))) std::uint32_t FoldCrc32(std::uint32_t state, const unsigned char* bytes,
                                                                 std::size_t size)
{
    const __m128i* blocks = reinterpret_cast<const __m128i*>(bytes);
    __m128i x1 = _mm_xor_si128(_mm_loadu_si128(blocks), _mm_cvtsi32_si128(static_cast<int>(state)));
    __m128i x2 = _mm_loadu_si128(blocks + 1);
    __m128i x3 = _mm_loadu_si128(blocks + 2);
    __m128i x4 = _mm_loadu_si128(blocks + 3);
    blocks += 4;
    size -= 64;

    // Four independent lanes keep the multiplier busy.
    const __m128i fold4 = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold4));
    for (; size >= 64; size -= 64, blocks += 4) {
        x1 = Fold(x1, fold4, _mm_loadu_si128(blocks));
        x2 = Fold(x2, fold4, _mm_loadu_si128(blocks + 1));
        x3 = Fold(x3, fold4, _mm_loadu_si128(blocks + 2));
        x4 = Fold(x4, fold4, _mm_loadu_si128(blocks + 3));
    }

    const __m128i fold1 = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold1));
    x1 = Fold(x1, fold1, x2);
    x1 = Fold(x1, fold1, x3);
    x1 = Fold(x1, fold1, x4);
    for (; size >= 16; size -= 16, ++blocks)
        x1 = Fold(x1, fold1, _mm_loadu_si128(blocks));

    // 128 bits to 64, appending the 32 zero bits the checksum implies.
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, fold1, 0x10));
    const __m128i fold64 = _mm_load_si128(reinterpret_cast<const __m128i*>(kFold64));
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 4), _mm_clmulepi64_si128(_mm_and_si128(x1, low32), fold64, 0x00));

    // Barrett reduction to the 32-bit remainder.
    const __m128i barrett = _mm_load_si128(reinterpret_cast<const __m128i*>(kBarrett));
    __m128i quotient = _mm_and_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), barrett, 0x10), low32);
    x1 = _mm_xor_si128(x1, _mm_clmulepi64_si128(quotient, barrett, 0x00));
    return static_cast<std::uint32_t>(_mm_extract_epi32(x1, 1));
}
