#include "BenchServer.h"
#include "CCrc32.h"
#include "CDownloadThread.h"
#include "CKWInstallationData.h"
#include "CKWUpdateCatalog.h"
#include "CancelFlags.h"
#include "CatalogXml.h"
#include "ProductDescriptor.h"
#include "ProgressMessages.h"
#include "RecordingOwner.h"
#include "RegisteredMessages.h"
#include "UpdaterSandbox.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

const char kProduct[] = "{D0D0D0D0-1111-2222-3333-444455556666}";

class DownloadThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_server = GetBenchServer();
        if (m_server.url.empty())
            GTEST_SKIP() << "needs the bench's HTTP server";
        g_downloadCancelled = false;
        // A catalog of the user's own: downloads are not reported unless a
        // statistics URL is set.
        m_sandbox.SetUserValue(GetProductDescriptor().UpdatesRegistryKey, "CatalogURL", m_server.url + "catalog.xml");
        CreateDirectoryA((m_server.root + "\\dl").c_str(), nullptr);
        m_earlierRequests = ReadWholeFile(m_server.log).size();
    }
    void TearDown() override { g_downloadCancelled = false; }

    // An update element for a file whose content the catalog's CRC matches.
    std::string Update(const std::string& id, const std::string& version, const std::string& from,
                       const std::string& content)
    {
        char crc[16];
        std::snprintf(crc, sizeof crc, "%08x", CCrc32().Compute(content.data(), content.size()));
        return UpdateXml(id, version, from, from, "MSP", static_cast<unsigned>(content.size()),
                         "<filecrc>" + std::string(crc) + "</filecrc>");
    }

    // Loads the catalog and selects its chain for the product installed at 1.0.
    void Offer(const std::string& updates, const std::string& sources)
    {
        CKWUpdateCatalog& catalog = CKWUpdateCatalog::GetInstance();
        ASSERT_TRUE(catalog.LoadXml(CatalogXml(ProductXml(kProduct, "DLT", updates) + sources)));
        CKWInstallationData& data = CKWInstallationData::GetInstance();
        ASSERT_NE(nullptr, data.AddInstalledProduct(kProduct, PackVersion("1.0.0"), true));
        ASSERT_NE(0u, data.GetUpdateCount());
        catalog.ResolveDependencies(GetProductDescriptor().MainUpgradeCode);
    }

    std::string HttpSource(int priority) const
    {
        return "<source priority=\"" + std::to_string(priority) + "\">" + m_server.url + "dl/</source>";
    }

    // Runs the download to its end; what the owner received.
    std::vector<RecordingOwner::Posted> RunDownload()
    {
        CDownloadThread thread(m_owner.Get());
        thread.Start();
        EXPECT_TRUE(thread.WaitForActivityStatus(CThread::kIdle, 300));
        std::vector<RecordingOwner::Posted> posted = m_owner.Take();
        for (const auto& message : posted) {
            if (message.message == GetRegisteredMessages().progressSetActionText)
                TakeActionText(message.lParam);
        }
        return posted;
    }

    static bool Has(const std::vector<RecordingOwner::Posted>& posted, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return std::any_of(posted.begin(), posted.end(), [&](const RecordingOwner::Posted& p) {
            return p.message == message && p.wParam == wParam && p.lParam == lParam;
        });
    }

    // The requests of this test only: the server and its log serve the whole
    // program.
    std::string Requests() const { return ReadWholeFile(m_server.log).substr(m_earlierRequests); }

    BenchServer m_server;
    size_t m_earlierRequests = 0;
    UpdaterSandbox m_sandbox;
    RecordingOwner m_owner;
    TestFolder m_share;
};

TEST_F(DownloadThreadTest, SourcesAreTriedInPriorityOrderAndAWrongCrcFallsThroughToTheNext)
{
    WriteWholeFile(m_share.File("a1.bin"), "damaged copy on the share");
    WriteWholeFile(m_server.root + "\\dl\\a1.bin", "patch one");
    Offer(Update("a1", "1.1", "1.0", "patch one"),
          HttpSource(5) + "<source priority=\"1\">" + m_share.Path() + "</source>");

    std::vector<RecordingOwner::Posted> posted = RunDownload();

    EXPECT_TRUE(Has(posted, GetRegisteredMessages().taskCompleted, 0, 0));
    EXPECT_EQ("patch one", ReadWholeFile(m_sandbox.WorkingFolder() + "a1.bin"));
    const std::string log = m_sandbox.LogText();
    const size_t copy = log.find("Trying to copy file a1.bin from source #1...\nCopy operation failed\n");
    const size_t download = log.find("Trying to download file a1.bin from source #5...\n");
    ASSERT_NE(std::string::npos, copy);
    ASSERT_NE(std::string::npos, download);
    EXPECT_LT(copy, download);
    EXPECT_NE(std::string::npos, log.find("Download operation succeeded\n"));
    // A redirected catalog without a statistics URL reports nothing.
    EXPECT_EQ(std::string::npos, Requests().find("CompanyName="));
}

TEST_F(DownloadThreadTest, ACachedFileIsUsedWithoutARequestAndOnlyVerifiedDownloadsAreReported)
{
    m_sandbox.SetUserValue(GetProductDescriptor().UpdatesRegistryKey, "StatsURL", m_server.url + "stats.asp");
    WriteWholeFile(m_sandbox.WorkingFolder() + "b1.bin", "patch one");
    WriteWholeFile(m_server.root + "\\dl\\b2.bin", "patch two");
    Offer(Update("b1", "1.1", "1.0", "patch one") + Update("b2", "1.2", "1.1", "patch two"), HttpSource(1));

    std::vector<RecordingOwner::Posted> posted = RunDownload();

    EXPECT_TRUE(Has(posted, GetRegisteredMessages().taskCompleted, 0, 0));
    EXPECT_NE(std::string::npos, m_sandbox.LogText().find("Using cached file b1.bin\n"));
    const std::string requests = Requests();
    EXPECT_EQ(std::string::npos, requests.find("b1.bin"));
    EXPECT_NE(std::string::npos, requests.find("GET /dl/b2.bin "));
    EXPECT_NE(std::string::npos, requests.find("GET /stats.asp?CompanyName=&Agent=UPD&Product=DLT&Update=b2.bin"
                                               "&Current=1.00.0000&Target=1.02.0000 "));
}

TEST_F(DownloadThreadTest, AFileNoSourceServesFailsWithTheDownloadMessageAndCancelSaysNothing)
{
    Offer(Update("c1", "1.1", "1.0", "never served"), HttpSource(1));
    std::vector<RecordingOwner::Posted> posted = RunDownload();
    EXPECT_TRUE(Has(posted, GetRegisteredMessages().taskInterrupted, 227, MB_ICONWARNING));
    EXPECT_NE(std::string::npos, m_sandbox.LogText().find("Unable to locate file c1.bin\n"));

    // Cancelled while the server delays its answer: the transfer stops and
    // the interruption carries no message.
    CKWInstallationData::DestroyInstance();
    CKWUpdateCatalog::DestroyInstance();
    CKWInstallationData::GetInstance().SetWorkingFolder(m_sandbox.WorkingFolder());
    WriteWholeFile(m_server.root + "\\dl\\c2.bin", "patch");
    Offer(Update("c2", "1.1", "1.0", "patch"), "<source priority=\"1\">" + m_server.url + "@delay=2/dl/</source>");
    CDownloadThread thread(m_owner.Get());
    thread.Start();
    Sleep(500);
    g_downloadCancelled = true;
    EXPECT_TRUE(thread.WaitForActivityStatus(CThread::kIdle, 100));
    posted = m_owner.Take();
    EXPECT_TRUE(Has(posted, GetRegisteredMessages().taskInterrupted, 0, 0));
    EXPECT_FALSE(Has(posted, GetRegisteredMessages().taskCompleted, 0, 0));
    EXPECT_FALSE(FileExists(m_sandbox.WorkingFolder() + "c2.bin"));
}

} // namespace
