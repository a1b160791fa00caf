#include "Bench.h"
#include "CCrc32.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

const std::size_t kBufferBytes = 256u * 1024 * 1024;

// The textbook loop: one table look-up per byte.
class BytewiseCrc32 {
public:
    BytewiseCrc32()
    {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t entry = i;
            for (int bit = 0; bit < 8; ++bit)
                entry = (entry & 1) != 0 ? (entry >> 1) ^ 0xEDB88320u : entry >> 1;
            m_table[i] = entry;
        }
    }
    std::uint32_t Compute(const unsigned char* bytes, std::size_t size) const
    {
        std::uint32_t crc = 0xFFFFFFFFu;
        for (std::size_t i = 0; i < size; ++i)
            crc = (crc >> 8) ^ m_table[(crc ^ bytes[i]) & 0xFF];
        return ~crc;
    }

private:
    std::uint32_t m_table[256];
};

} // namespace

KW_BENCH(Crc32Throughput)
{
    std::vector<unsigned char> buffer(kBufferBytes);
    std::uint32_t seed = 12345;
    for (unsigned char& byte : buffer) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<unsigned char>(seed >> 24);
    }
    CCrc32 crc32;
    BytewiseCrc32 bytewise;
    std::uint32_t ours = 0, table = 0, zlib = 0;
    double oursSeconds = BestSeconds(3, [&] {
        ours = crc32.Compute(buffer.data(), buffer.size());
    });
    double tableSeconds = BestSeconds(3, [&] {
        table = bytewise.Compute(buffer.data(), buffer.size());
    });
    double zlibSeconds = BestSeconds(3, [&] {
        zlib = static_cast<std::uint32_t>(crc32_z(0, buffer.data(), buffer.size()));
    });
    if (ours != table || ours != zlib)
        std::printf("CHECKSUMS DIFFER: CCrc32 %08x, byte loop %08x, zlib %08x\n", static_cast<unsigned>(ours),
                    static_cast<unsigned>(table), static_cast<unsigned>(zlib));
    PrintRatio("CRC-32 of 256 MiB: CCrc32 / byte-at-a-time table", oursSeconds, tableSeconds);
    PrintRatio("CRC-32 of 256 MiB: CCrc32 / zlib crc32", oursSeconds, zlibSeconds);
}
