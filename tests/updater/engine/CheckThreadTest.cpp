#include "BenchServer.h"
#include "CCheckThread.h"
#include "CKWInstallationData.h"
#include "CKWUpdateCatalog.h"
#include "CatalogXml.h"
#include "ProductDescriptor.h"
#include "ProgressMessages.h"
#include "RecordingOwner.h"
#include "RegisteredMessages.h"
#include "UpdaterSandbox.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class CheckThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_server = GetBenchServer();
        if (m_server.url.empty())
            GTEST_SKIP() << "needs the bench's HTTP server";
    }

    void PointCatalogAt(const std::string& url)
    {
        m_sandbox.SetUserValue(GetProductDescriptor().UpdatesRegistryKey, "CatalogURL", url);
    }

    // Runs a check to its end with the recording owner and returns what it
    // posted; action texts are freed.
    std::vector<RecordingOwner::Posted> RunCheck()
    {
        CCheckThread thread(m_owner.Get());
        thread.Start();
        EXPECT_TRUE(thread.WaitForActivityStatus(CThread::kIdle, 300));
        DWORD exitCode = 1;
        EXPECT_TRUE(thread.Stop(exitCode, kNoTimeLimit));
        EXPECT_EQ(0u, exitCode);
        std::vector<RecordingOwner::Posted> posted = m_owner.Take();
        for (const auto& message : posted) {
            if (message.message == GetRegisteredMessages().progressSetActionText)
                m_actionTexts.push_back(TakeActionText(message.lParam));
        }
        return posted;
    }

    static size_t Count(const std::vector<RecordingOwner::Posted>& posted, UINT message)
    {
        return std::count_if(posted.begin(), posted.end(), [message](const RecordingOwner::Posted& p) {
            return p.message == message;
        });
    }

    BenchServer m_server;
    UpdaterSandbox m_sandbox;
    RecordingOwner m_owner;
    std::vector<std::string> m_actionTexts;
};

TEST_F(CheckThreadTest, ACheckFetchesTheCatalogWithTheProductsQueryAndRecordsTheDate)
{
    WriteWholeFile(m_server.root + "\\check-ok.xml", CatalogXml(ProductXml(GetProductDescriptor().MainUpgradeCode, "",
                                                                           UpdateXml("u1", "1.1", "1.0", "1.0"))));
    PointCatalogAt(m_server.url + "check-ok.xml");

    std::vector<RecordingOwner::Posted> posted = RunCheck();

    const RegisteredMessages& ids = GetRegisteredMessages();
    EXPECT_EQ(1u, Count(posted, ids.taskCompleted));
    EXPECT_EQ(0u, Count(posted, ids.taskInterrupted));
    // One step-it per finished step and one per product added.
    EXPECT_EQ(size_t(CCheckThread::kStepCount - 1 + 2), Count(posted, ids.progressStepIt));
    auto max = std::find_if(posted.begin(), posted.end(), [&ids](const RecordingOwner::Posted& p) {
        return p.message == ids.progressSetMax;
    });
    ASSERT_NE(posted.end(), max);
    EXPECT_EQ(CCheckThread::kStepCount, max->lParam);
    EXPECT_EQ(std::vector<std::string>(
                  {"Initializing...", "Detecting Internet connection...", "Receiving list of updates..."}),
              m_actionTexts);

    // The product's language is French whatever the user reads.
    std::string requests = ReadWholeFile(m_server.log);
    EXPECT_NE(std::string::npos, requests.find("GET /check-ok.xml?CompanyName=2012-&Year=2012&Language=F "));
    EXPECT_TRUE(CKWUpdateCatalog::GetInstance().IsValid());

    std::string log = m_sandbox.LogText();
    EXPECT_NE(std::string::npos, log.find("Starting thread C\n"));
    EXPECT_NE(std::string::npos, log.find("Added " + GetProductDescriptor().UpdaterCode + " v.0.00.0000\n"));
    EXPECT_NE(std::string::npos, log.find("Ending thread C\n"));
    std::string date = m_sandbox.UserValue(GetProductDescriptor().UpdatesStateKey, "DateLastCheck");
    SYSTEMTIME today;
    GetLocalTime(&today);
    char expected[16];
    snprintf(expected, sizeof expected, "%02d/%02d/%04d", today.wDay, today.wMonth, today.wYear);
    EXPECT_EQ(expected, date);
}

TEST_F(CheckThreadTest, AServerStatusInsteadOfACatalogInterruptsWithTheCatalogMessage)
{
    CopyFileA((std::string(KW_TEST_DATA_DIR) + "/status.xml").c_str(), (m_server.root + "\\status.xml").c_str(), FALSE);
    PointCatalogAt(m_server.url + "status.xml");

    std::vector<RecordingOwner::Posted> posted = RunCheck();

    const RegisteredMessages& ids = GetRegisteredMessages();
    EXPECT_EQ(0u, Count(posted, ids.taskCompleted));
    auto interrupted = std::find_if(posted.begin(), posted.end(), [&ids](const RecordingOwner::Posted& p) {
        return p.message == ids.taskInterrupted;
    });
    ASSERT_NE(posted.end(), interrupted);
    EXPECT_EQ(214u, interrupted->wParam);
    EXPECT_EQ(MB_ICONWARNING, interrupted->lParam);
    ASSERT_NE(nullptr, CKWUpdateCatalog::GetInstance().GetServerStatus());
    EXPECT_NE(std::string::npos, m_sandbox.LogText().find("Catalog is corrupted or invalid\n"));
    EXPECT_TRUE(m_sandbox.UserValue(GetProductDescriptor().UpdatesStateKey, "DateLastCheck").empty());
}

TEST_F(CheckThreadTest, AnEmptyCatalogUrlValueMeansTheVendorsDefault)
{
    PointCatalogAt("");
    EXPECT_EQ(GetProductDescriptor().DefaultCatalogURL + "?CompanyName=2012-&Year=2012&Language=F",
              CCheckThread::BuildRequestUrl());
}

} // namespace
