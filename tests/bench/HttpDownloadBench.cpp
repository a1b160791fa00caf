#include "Bench.h"
#include "CHttpClient.h"
#include "TestFolder.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Environment(const char* name)
{
    char value[256] = "";
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

} // namespace

// scripts/run-bench.sh serves the file beside this program and times curl
// fetching it into a file, best of three, just before.
KW_BENCH(HttpDownloadThroughput)
{
    const std::string port = Environment("KW_HTTPD_PORT");
    const std::string curlSeconds = Environment("KW_BENCH_CURL_SECONDS");
    const std::string file = Environment("KW_BENCH_DOWNLOAD_FILE");
    if (port.empty() || curlSeconds.empty() || file.empty()) {
        std::printf("skipped: run through scripts/run-bench.sh, which serves the file and times curl\n");
        return;
    }
    TestFolder folder;
    const std::string url = "http://127.0.0.1:" + port + "/" + file;
    const std::string target = folder.File(file);
    CHttpClient client;
    DWORD error = 0;
    double seconds = BestSeconds(3, [&] {
        DeleteFileA(target.c_str());
        DWORD result = client.Download(url, target, nullptr, nullptr);
        if (result != 0)
            error = result;
    });
    if (error != 0) {
        std::printf("download failed: %s\n", CHttpClient::ErrorText(error).c_str());
        return;
    }
    PrintRatio("HTTP download of 64 MiB: CHttpClient / curl", seconds, std::atof(curlSeconds.c_str()));
}
