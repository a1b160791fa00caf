#include "Bench.h"
#include "CSha256.h"

#include <cstdlib>

// scripts/run-bench.sh times sha256sum on the same file, best of three,
// with the file in the page cache, and hands over its seconds and digest.
KW_BENCH(Sha256Throughput)
{
    const std::string path = BenchEnvironment("KW_BENCH_DATA_FILE");
    const std::string toolSeconds = BenchEnvironment("KW_BENCH_SHA256SUM_SECONDS");
    const std::string toolDigest = BenchEnvironment("KW_BENCH_DATA_SHA256");
    if (path.empty() || toolSeconds.empty() || toolDigest.empty()) {
        PrintSkipped("SHA-256 of the cached file", "run through scripts/run-bench.sh, which times sha256sum");
        return;
    }
    CSha256::Digest digest = {};
    DWORD error = 0;
    double seconds = BestSeconds(3, [&] {
        error = CSha256::ComputeFile(path, digest);
    });
    if (error != 0 || CSha256::ToHex(digest) != toolDigest) {
        PrintSkipped("SHA-256 of the cached file", "CNG's digest differs from sha256sum's");
        return;
    }
    PrintRow("SHA-256 of a cached 256 MiB file (CNG)", seconds, "sha256sum (Linux)", std::atof(toolSeconds.c_str()));
}
