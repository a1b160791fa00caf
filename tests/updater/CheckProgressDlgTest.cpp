#include "engine/BenchServer.h"
#include "CCheckProgressDlg.h"
#include "MessageBoxPerson.h"
#include "ProductDescriptor.h"
#include "SetupCore.h"
#include "engine/UpdaterSandbox.h"

#include <gtest/gtest.h>

#include <future>

// The real dialog and check thread against the bench's server: a server that
// answers with its status instead of the catalog gets its own words shown to
// the person, and the check ends as failed.
TEST(CheckProgressDlgTest, AServerStatusIsShownInABoxAndTheCheckEndsAsFailed)
{
    BenchServer server = GetBenchServer();
    if (server.url.empty())
        GTEST_SKIP() << "needs the bench's HTTP server";
    UpdaterSandbox sandbox;
    CopyFileA((std::string(KW_TEST_DATA_DIR) + "/status.xml").c_str(), (server.root + "\\status.xml").c_str(), FALSE);
    sandbox.SetUserValue(GetProductDescriptor().UpdatesRegistryKey, "CatalogURL", server.url + "status.xml");
    const std::string caption = "Check progress test";
    GetSetupCore().caption = caption;

    std::future<FoundBox> person = std::async(std::launch::async, [&caption] {
        return AnswerMessageBox(caption);
    });
    CCheckProgressDlg dialog;
    INT_PTR result = dialog.DoModal();

    EXPECT_EQ("The update server is under maintenance.", person.get().text);
    EXPECT_EQ(2, result);
    EXPECT_NE(std::string::npos,
              sandbox.LogText().find("Message from server: The update server is under maintenance.\n"));
}
