#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The standard CRC-32 (IEEE 802.3, zlib): reflected polynomial 0xEDB88320,
// start value 0xFFFFFFFF, final value inverted.
class CCrc32 {
public:
    enum Method {
        // Carry-less multiplication where the processor has it.
        kFastest,
        // The tables only, on any processor; the same values.
        kTables,
    };

    explicit CCrc32(Method method = kFastest);
    virtual ~CCrc32() = default;

    // Continues the checksum of earlier bytes (0 before any) over more bytes,
    // as zlib's crc32 does, so a file can be checked piece by piece.
    std::uint32_t Update(std::uint32_t crc, const void* data, std::size_t size) const;
    std::uint32_t Compute(const void* data, std::size_t size) const { return Update(0, data, size); }

    // ComputeFile reads this much at a time: large enough that the calls
    // into the system cost little beside the checksum.
    static const DWORD kFileReadBytes = 128 * 1024;

    // The checksum of a whole file. Returns 0, or the Windows error code when
    // the file cannot be opened or read; the crc is then 0.
    DWORD ComputeFile(const std::string& path, std::uint32_t& crc) const;

    bool UsesFolding() const { return m_folding; }

private:
    bool m_folding;
    // Slicing by eight: table k gives the effect of a byte followed by k
    // zero bytes, so eight bytes are folded in per step.
    std::uint32_t m_table[8][256];
};
