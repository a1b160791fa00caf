#include "Bench.h"
#include "CHttpClient.h"
#include "IDownloadProgress.h"
#include "TestFolder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Shows the transfer live on the error stream, once per MiB, as the
// updater's bar would move.
class LiveProgress : public IDownloadProgress {
public:
    bool OnBegin(std::uint64_t) override { return true; }
    bool OnProgress(std::uint64_t received, std::uint64_t total) override
    {
        ++m_calls;
        if (received >> 20 != m_shownMiB) {
            m_shownMiB = received >> 20;
            std::fprintf(stderr, "\r  downloading %llu of %llu MiB ", static_cast<unsigned long long>(m_shownMiB),
                         static_cast<unsigned long long>(total >> 20));
        }
        return true;
    }
    bool OnEnd(std::uint64_t) override
    {
        std::fprintf(stderr, "\r%40s\r", "");
        return true;
    }
    unsigned long Calls() const { return m_calls; }

private:
    std::uint64_t m_shownMiB = 0;
    unsigned long m_calls = 0;
};

} // namespace

// scripts/run-bench.sh serves the file beside this program and times curl
// fetching it into a file, best of three, just before.
KW_BENCH(HttpDownloadThroughput)
{
    const std::string port = BenchEnvironment("KW_HTTPD_PORT");
    const std::string curlSeconds = BenchEnvironment("KW_BENCH_CURL_SECONDS");
    const std::string file = BenchEnvironment("KW_BENCH_DOWNLOAD_FILE");
    if (port.empty() || curlSeconds.empty() || file.empty()) {
        PrintSkipped("HTTP download", "run through scripts/run-bench.sh, which serves the file and times curl");
        return;
    }
    TestFolder folder;
    const std::string url = "http://127.0.0.1:" + port + "/" + file;
    const std::string target = folder.File(file);
    CHttpClient client;
    DWORD error = 0;
    LiveProgress progress;
    double seconds = BestSeconds(3, [&] {
        DeleteFileA(target.c_str());
        DWORD result = client.Download(url, target, &progress, [] {
            return false;
        });
        if (result != 0)
            error = result;
    });
    if (error != 0) {
        PrintSkipped("HTTP download", CHttpClient::ErrorText(error));
        return;
    }
    // At least half of curl's throughput: at most twice its time.
    PrintRow("HTTP download 64 MiB, live progress", seconds, "curl, same file and server",
             std::atof(curlSeconds.c_str()), {2.0, 0});
}
