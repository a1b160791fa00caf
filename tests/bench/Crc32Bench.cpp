#include "Bench.h"
#include "CCrc32.h"
#include "KwHandle.h"

#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const std::size_t kBufferBytes = 256u * 1024 * 1024;

// zlib's checksum of the file, read as CCrc32::ComputeFile reads it.
std::uint32_t ZlibFileCrc(const std::string& path)
{
    KwHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    std::vector<unsigned char> buffer(CCrc32::kFileReadBytes);
    uLong crc = 0;
    DWORD read = 0;
    while (file.IsValid() && ReadFile(file.Get(), buffer.data(), CCrc32::kFileReadBytes, &read, nullptr) && read > 0)
        crc = crc32_z(crc, buffer.data(), read);
    return static_cast<std::uint32_t>(crc);
}

// Best seconds of each piece of work, run in turns, so that a busy moment
// of the machine does not fall on one of them only.
std::vector<double> BestInTurns(int runs, const std::vector<std::function<void()>>& works)
{
    std::vector<double> best(works.size(), 0);
    for (int run = 0; run < runs; ++run) {
        for (std::size_t i = 0; i < works.size(); ++i) {
            double seconds = BestSeconds(1, works[i]);
            if (run == 0 || seconds < best[i])
                best[i] = seconds;
        }
    }
    return best;
}

void ReportDifference(const char* what, std::uint32_t ours, std::uint32_t zlib)
{
    if (ours != zlib)
        std::printf("CHECKSUMS DIFFER (%s): CCrc32 %08x, zlib %08x\n", what, static_cast<unsigned>(ours),
                    static_cast<unsigned>(zlib));
}

} // namespace

// The update cache checks every file with CCrc32::ComputeFile; the file is
// the one scripts/run-bench.sh writes and hashes with sha256sum, read once
// before so that both read it from the page cache.
KW_BENCH(Crc32Throughput)
{
    std::vector<unsigned char> buffer(kBufferBytes);
    std::uint32_t seed = 12345;
    for (unsigned char& byte : buffer) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<unsigned char>(seed >> 24);
    }
    const CCrc32 fastest;
    const CCrc32 tables(CCrc32::kTables);
    std::uint32_t ours = 0, table = 0, zlib = 0;
    const std::vector<double> memory =
        BestInTurns(9, {[&] {
                            ours = fastest.Compute(buffer.data(), buffer.size());
                        },
                        [&] {
                            table = tables.Compute(buffer.data(), buffer.size());
                        },
                        [&] {
                            zlib = static_cast<std::uint32_t>(crc32_z(0, buffer.data(), buffer.size()));
                        }});
    ReportDifference("folding", ours, zlib);
    ReportDifference("tables", table, zlib);
    PrintRow(fastest.UsesFolding() ? "CRC-32 256 MiB in memory (folding)" : "CRC-32 256 MiB in memory (NO PCLMUL)",
             memory[0], "zlib crc32_z", memory[2], {0.5, 0});
    PrintRow("CRC-32 256 MiB in memory (tables only)", memory[1], "zlib crc32_z", memory[2]);

    const std::string path = BenchEnvironment("KW_BENCH_DATA_FILE");
    if (path.empty()) {
        PrintSkipped("CRC-32 of the cached file", "run through scripts/run-bench.sh, which writes the file");
        return;
    }
    std::uint32_t fileCrc = 0;
    DWORD error = fastest.ComputeFile(path, fileCrc);
    if (error != 0) {
        PrintSkipped("CRC-32 of the cached file", "cannot read " + path);
        return;
    }
    const std::vector<double> file = BestInTurns(9, {[&] {
                                                         fastest.ComputeFile(path, fileCrc);
                                                     },
                                                     [&] {
                                                         zlib = ZlibFileCrc(path);
                                                     }});
    ReportDifference("file", fileCrc, zlib);
    PrintRow("CRC-32 of a cached 256 MiB file", file[0], "zlib crc32_z, same reads", file[1], {0.5, 0});
}
