#include "CSetupInstallationData.h"
#include "CoreTestSupport.h"
#include "SetupFlags.h"
#include "SetupOperations.h"
#include "SetupTestSupport.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// A package that records which operation ran on it, in a journal shared by
// all packages, and answers with a chosen result.
struct RecordingPackage : CKWMsiPackage {
    RecordingPackage(const std::string& name, std::vector<std::string>& journal, UINT result)
        : CKWMsiPackage(name + ".msi", kKindInstaller), journal(journal), result(result)
    {
        DisplayName = name;
    }
    UINT Repair() override { return Record("repair"); }
    UINT Remove() override { return Record("remove"); }
    UINT Record(const std::string& operation)
    {
        journal.push_back(operation + " " + DisplayName);
        if (effect)
            effect();
        return result;
    }
    std::vector<std::string>& journal;
    UINT result;
    std::function<void()> effect;
};

class Operations : public CoreTest {
protected:
    RecordingPackage& Add(const std::string& name, UINT result = 0)
    {
        data.Packages.push_back(std::make_unique<RecordingPackage>(name, journal, result));
        return static_cast<RecordingPackage&>(*data.Packages.back());
    }
    void TearDown() override
    {
        g_cancelRequested = false;
        CoreTest::TearDown();
    }
    CSetupInstallationData data;
    RecordingWizard wizard;
    std::vector<std::string> journal;
};

TEST_F(Operations, RemoveTakesTheLastPackageFirstAndStopsAtTheFirstFailure)
{
    Add("Base");
    Add("Samples", 1603);
    Add("Plugins");

    EXPECT_EQ(1603u, RemoveAll(data, &wizard));

    EXPECT_EQ((std::vector<std::string>{"remove Plugins", "remove Samples"}), journal);
    EXPECT_EQ("SetProgressRange|1|3", wizard.calls.front());
    EXPECT_EQ("Finish|0|0", wizard.calls.back());
    EXPECT_EQ(2, std::count(wizard.calls.begin(), wizard.calls.end(), "StepProgress|1"));
    EXPECT_NE(wizard.calls.end(), std::find(wizard.calls.begin(), wizard.calls.end(), "SetStatusText|1|Samples"));
}

TEST_F(Operations, ACancelDuringTheSecondPackageLeavesTheThirdUntouched)
{
    Add("Base");
    Add("Samples").effect = [] {
        g_cancelRequested = true;
    };
    Add("Plugins");

    EXPECT_EQ(static_cast<UINT>(ERROR_INSTALL_USEREXIT), RepairAll(data, &wizard));

    EXPECT_EQ((std::vector<std::string>{"repair Base", "repair Samples"}), journal);
    EXPECT_EQ("Finish|0|0", wizard.calls.back());
}

} // namespace
