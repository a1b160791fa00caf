#include "BenchServer.h"
#include "CHttpClient.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Records what a download reports, and can stop it at a chosen event.
class ProgressRecorder : public IDownloadProgress {
public:
    bool OnBegin(std::uint64_t total) override
    {
        events.push_back("begin " + std::to_string(total));
        return !stopAtBegin;
    }
    bool OnProgress(std::uint64_t received, std::uint64_t total) override
    {
        if (received <= last || received > total)
            events.push_back("bad progress " + std::to_string(received) + "/" + std::to_string(total));
        last = received;
        ++progressCalls;
        if (first == 0)
            first = received;
        return true;
    }
    bool OnEnd(std::uint64_t total) override
    {
        events.push_back("end " + std::to_string(total));
        return true;
    }

    std::vector<std::string> events;
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    int progressCalls = 0;
    bool stopAtBegin = false;
};

// Bytes that differ at every position, so a misplaced resume shows.
std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

class HttpClientTest : public testing::Test {
protected:
    void SetUp() override
    {
        server = GetBenchServer();
        ASSERT_FALSE(server.url.empty()) << "run through CTest, or: python3 tools/kwhttpd.py -- wine <program>";
        WriteWholeFile(server.root + "\\big.bin", big);
        target = folder.File("update.msp");
    }

    bool Logged(const std::string& line) const
    {
        return ReadWholeFile(server.log).find(line + "\n") != std::string::npos;
    }

    BenchServer server;
    TestFolder folder;
    const std::string big = Pattern(700 * 1000);
    std::string target;
    CHttpClient client;
    ProgressRecorder progress;
};

} // namespace

TEST_F(HttpClientTest, DownloadsReportByteCountsAndReplaceTheTargetOnlyWhenComplete)
{
    WriteWholeFile(target, "old");
    ASSERT_EQ(0u, client.Download(server.url + "big.bin", target, &progress, nullptr));
    EXPECT_EQ(big, ReadWholeFile(target));
    EXPECT_FALSE(FileExists(CHttpClient::TemporaryPath(target)));
    EXPECT_EQ((std::vector<std::string>{"begin 700000", "end 700000"}), progress.events);
    EXPECT_EQ(700000u, progress.last);
    EXPECT_GT(progress.progressCalls, 1) << "the bar moves during the transfer";
}

TEST_F(HttpClientTest, ErrorStatusesFailEvenWithAWellFormedBodyAndLeaveTheTarget)
{
    WriteWholeFile(server.root + "\\catalog.xml", "<updates appname=\"Melvaro 2012\"/>");
    WriteWholeFile(target, "old");
    EXPECT_EQ(HttpStatusError(404), client.Download(server.url + "missing.msp", target, &progress, nullptr));
    EXPECT_EQ(HttpStatusError(503),
              client.Download(server.url + "@status=503/@errorbody/big.bin", target, &progress, nullptr));
    std::string body;
    EXPECT_EQ(HttpStatusError(500), client.Fetch(server.url + "@status=500/@errorbody/catalog.xml", 1000, body));
    EXPECT_EQ("", body);
    EXPECT_EQ("old", ReadWholeFile(target));
    EXPECT_FALSE(FileExists(CHttpClient::TemporaryPath(target)));
    EXPECT_TRUE(progress.events.empty());
    EXPECT_EQ(404u, HttpStatusOf(HttpStatusError(404)));
    EXPECT_NE(std::string::npos, CHttpClient::ErrorText(HttpStatusError(503)).find("503"));
}

TEST_F(HttpClientTest, ACutTransferResumesWithARangeRequestForTheRest)
{
    EXPECT_EQ(static_cast<DWORD>(ERROR_INTERNET_CONNECTION_ABORTED),
              client.Download(server.url + "@cut=300000/big.bin", target, &progress, nullptr));
    EXPECT_FALSE(FileExists(target)) << "a partial file never counts";
    ASSERT_EQ(big.substr(0, 300000), ReadWholeFile(CHttpClient::TemporaryPath(target)));

    ProgressRecorder resumed;
    ASSERT_EQ(0u, client.Download(server.url + "big.bin", target, &resumed, nullptr));
    EXPECT_EQ(big, ReadWholeFile(target));
    EXPECT_TRUE(Logged("GET /big.bin HTTP/1.1\t206\tbytes=300000-"));
    EXPECT_EQ((std::vector<std::string>{"begin 700000", "end 700000"}), resumed.events);
    EXPECT_GT(resumed.first, 300000u);

    // A part that cannot belong to the file (longer than it) is dropped and
    // the whole file fetched again.
    WriteWholeFile(CHttpClient::TemporaryPath(target), big + "tail");
    ASSERT_EQ(0u, client.Download(server.url + "big.bin", target, nullptr, nullptr));
    EXPECT_EQ(big, ReadWholeFile(target));
    EXPECT_TRUE(Logged("GET /big.bin HTTP/1.1\t416\tbytes=700004-"));
}

TEST_F(HttpClientTest, CancellingStopsBetweenReadsAndKeepsTheTarget)
{
    WriteWholeFile(target, "old");
    int reads = 0;
    EXPECT_EQ(static_cast<DWORD>(ERROR_CANCELLED), client.Download(server.url + "big.bin", target, &progress, [&reads] {
        return ++reads > 2;
    }));
    EXPECT_EQ(3, reads);
    EXPECT_EQ("old", ReadWholeFile(target));
    EXPECT_EQ(1u, progress.events.size()) << "no end after a cancel";

    progress.stopAtBegin = true;
    EXPECT_EQ(static_cast<DWORD>(ERROR_CANCELLED), client.Download(server.url + "big.bin", target, &progress, nullptr));
    EXPECT_EQ("old", ReadWholeFile(target));
}

TEST_F(HttpClientTest, RedirectsAreFollowedUpToTheLimit)
{
    std::string body;
    EXPECT_EQ(0u, client.Fetch(server.url + "@redirect=5/big.bin", big.size(), body));
    EXPECT_EQ(big, body);
    EXPECT_EQ(static_cast<DWORD>(ERROR_HTTP_REDIRECT_FAILED),
              client.Fetch(server.url + "@redirect=6/big.bin", big.size(), body));
    EXPECT_EQ(static_cast<DWORD>(ERROR_HTTP_REDIRECT_FAILED),
              client.Download(server.url + "@redirect=1000/big.bin", target, &progress, nullptr));
    EXPECT_FALSE(FileExists(target));
}

TEST_F(HttpClientTest, SizeLimitsStopLargeAndEndlessAnswers)
{
    std::string body;
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_TOO_LARGE), client.Fetch(server.url + "big.bin", big.size() - 1, body));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_TOO_LARGE), client.Fetch(server.url + "@endless/big.bin", 3000000, body));
    EXPECT_EQ("", body);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_TOO_LARGE),
              client.Download(server.url + "@endless/big.bin", target, &progress, nullptr, 3000000));
    EXPECT_FALSE(FileExists(target));
    EXPECT_FALSE(FileExists(CHttpClient::TemporaryPath(target)));
}

TEST_F(HttpClientTest, ASilentServerTimesOut)
{
    CHttpClient::Options options;
    options.readTimeoutMs = 500;
    CHttpClient impatient(options);
    std::string body;
    ULONGLONG start = GetTickCount64();
    // Wine reports the time-out as ERROR_INTERNET_CONNECTION_ABORTED, Windows
    // as ERROR_INTERNET_TIMEOUT.
    EXPECT_NE(0u, impatient.Fetch(server.url + "@delay=4/big.bin", 1 << 20, body));
    EXPECT_LT(GetTickCount64() - start, 3000u);
}

TEST_F(HttpClientTest, OnlyHttpAndHttpsUrlsAreFetched)
{
    std::string body;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INTERNET_UNRECOGNIZED_SCHEME), client.Fetch("file:///etc/passwd", 1000, body));
    std::string upper = server.url;
    upper.replace(0, 4, "HTTP");
    EXPECT_EQ(0u, client.Fetch(upper + "big.bin", big.size(), body));
}

TEST_F(HttpClientTest, TheStatisticsRequestCarriesItsQueryAndReadsNothing)
{
    const std::string query = "stats.asp?CompanyName=&Agent=UPD&Product=MEL&Update=a.msp&Current=1.00.0000";
    WriteWholeFile(server.root + "\\stats.asp", "ok");
    EXPECT_EQ(0u, client.Ping(server.url + query));
    EXPECT_TRUE(Logged("GET /" + query + " HTTP/1.1\t200"));
    EXPECT_EQ(HttpStatusError(404), client.Ping(server.url + "nothing.asp"));
}
