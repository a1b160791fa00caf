#include "CCrc32.h"

#include "Crc32Folding.h"
#include "KwHandle.h"

#include <cstring>
#include <vector>

namespace {

const std::uint32_t kPolynomial = 0xEDB88320u;

} // namespace

CCrc32::CCrc32(Method method) : m_folding(method == kFastest && CanFoldCrc32())
{
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t entry = i;
        for (int bit = 0; bit < 8; ++bit)
            entry = (entry & 1) != 0 ? (entry >> 1) ^ kPolynomial : entry >> 1;
        m_table[0][i] = entry;
    }
    for (int k = 1; k < 8; ++k) {
        for (int i = 0; i < 256; ++i)
            m_table[k][i] = (m_table[k - 1][i] >> 8) ^ m_table[0][m_table[k - 1][i] & 0xFF];
    }
}

std::uint32_t CCrc32::Update(std::uint32_t crc, const void* data, std::size_t size) const
{
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    crc = ~crc;
    if (m_folding && size >= 64) {
        const std::size_t folded = size & ~static_cast<std::size_t>(15);
        crc = FoldCrc32(crc, bytes, folded);
        bytes += folded;
        size -= folded;
    }
    for (; size >= 8; bytes += 8, size -= 8) {
        // Windows runs little-endian, so the low byte of each word comes first.
        std::uint32_t low;
        std::uint32_t high;
        std::memcpy(&low, bytes, 4);
        std::memcpy(&high, bytes + 4, 4);
        low ^= crc;
        crc = m_table[7][low & 0xFF] ^ m_table[6][(low >> 8) & 0xFF] ^ m_table[5][(low >> 16) & 0xFF] ^
              m_table[4][low >> 24] ^ m_table[3][high & 0xFF] ^ m_table[2][(high >> 8) & 0xFF] ^
              m_table[1][(high >> 16) & 0xFF] ^ m_table[0][high >> 24];
    }
    for (; size > 0; ++bytes, --size)
        crc = (crc >> 8) ^ m_table[0][(crc ^ *bytes) & 0xFF];
    return ~crc;
}

DWORD CCrc32::ComputeFile(const std::string& path, std::uint32_t& crc) const
{
    crc = 0;
    KwHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.IsValid())
        return GetLastError();
    std::vector<unsigned char> buffer(kFileReadBytes);
    std::uint32_t sum = 0;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer.data(), kFileReadBytes, &read, nullptr)) {
            // A checksum of part of the file must not pass for the file's.
            DWORD error = GetLastError();
            return error != 0 ? error : ERROR_READ_FAULT;
        }
        if (read == 0)
            break;
        sum = Update(sum, buffer.data(), read);
    }
    crc = sum;
    return 0;
}
