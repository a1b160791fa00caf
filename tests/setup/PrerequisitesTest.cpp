#include "CSetupInstallationData.h"
#include "CoreTestSupport.h"
#include "MinimumBrowser.h"
#include "PrerequisiteRegistry.h"
#include "SetupPrerequisites.h"
#include "SetupTestSupport.h"

#include <functional>

namespace {

const char kNetfx35[] = "Software\\Microsoft\\NET Framework Setup\\NDP\\v3.5";
const char kExplorer[] = "Software\\Microsoft\\Internet Explorer";

// A wanted product, or a prerequisite's installer that has an effect on the
// machine and returns a code.
struct Installable : IInstallable {
    Installable(UINT result = 0, std::function<void()> effect = nullptr) : result(result), effect(effect) {}
    UINT Execute() override
    {
        ++runs;
        if (effect)
            effect();
        return result;
    }
    int GetInstallState() override { return 0; }
    bool IsWanted() override { return true; }
    UINT result;
    std::function<void()> effect;
    int runs = 0;
};

class Prerequisites : public CoreTest {
protected:
    void Need(int id, Installable* installer)
    {
        GetPrerequisite(id)->AddDependent(&product);
        GetPrerequisite(id)->SetOwner(installer);
    }
    void InstallNetfx35()
    {
        machine.Set(kNetfx35, "Install", 1);
        machine.Set(kNetfx35, "Version", "3.5.30729.1");
    }

    MachineSandbox machine;
    Installable product;
    RecordingWizard wizard;
    CSetupInstallationData data;
};

} // namespace

TEST_F(Prerequisites, OnlyTheHighestOfAKindIsInstalledAndARestartCountsAsSuccess)
{
    Installable netfx20, netfx35(3010, [this] {
        InstallNetfx35();
    });
    Installable explorer(0, [this] {
        machine.Set(kExplorer, "Version", "6.0.2900.2180");
    });
    Need(kPrerequisiteNetfx20, &netfx20);
    Need(kPrerequisiteNetfx35, &netfx35);
    Need(kPrerequisiteIE6, &explorer);
    data.Packages.push_back(std::make_unique<CKWMsiPackage>("C:\\p\\a.msi", CKWMsiPackage::kKindInstaller));

    EXPECT_EQ(0u, ProcessPrerequisites(data, &wizard));
    EXPECT_EQ("0 1 1",
              std::to_string(netfx20.runs) + " " + std::to_string(netfx35.runs) + " " + std::to_string(explorer.runs));
    EXPECT_TRUE(GetSetupCore().rebootNeeded);
    EXPECT_EQ((std::vector<std::string>{"SetProgressRange|1|3", "SetStatusText|1|Internet Explorer v.6",
                                        "SetStatusText|2|Initializing...", "SetStatusText|1|.Net Framework v.3.5",
                                        "SetStatusText|2|Initializing..."}),
              wizard.calls);
}

TEST_F(Prerequisites, AnInstallerThatLeavesItMissingFailsAndAFailureStopsThePass)
{
    Installable silent;
    Need(kPrerequisiteIE6, &silent);
    EXPECT_EQ(1603u, ProcessPrerequisites(data, &wizard));

    ClearPrerequisites();
    Installable refused(1602, [this] {
        machine.Set(kExplorer, "Version", "6.0");
    });
    Installable later(0, [this] {
        InstallNetfx35();
    });
    Need(kPrerequisiteIE6, &refused);
    Need(kPrerequisiteNetfx35, &later);
    EXPECT_EQ(1602u, ProcessPrerequisites(data, &wizard)) << "only 0 and 3010 are success";
    EXPECT_EQ(0, later.runs);
}

TEST_F(Prerequisites, OneWithoutInstallerShowsTheMissingPageAndNothingNeededChangesNothing)
{
    Need(kPrerequisiteNetfx35, nullptr);
    GetPrerequisite(kPrerequisiteNetfx35)->SetSupportAddress("http://help/netfx");
    EXPECT_EQ(2u, ProcessPrerequisites(data, &wizard));
    EXPECT_EQ("SetState|8", wizard.calls.back());
    EXPECT_EQ(".Net Framework v.3.5 http://help/netfx",
              data.missingPrerequisiteName + " " + data.missingPrerequisiteAddress);

    wizard.calls.clear();
    GetPrerequisite(kPrerequisiteNetfx20); // missing, but no wanted installable needs it
    InstallNetfx35();
    EXPECT_EQ(0u, ProcessPrerequisites(data, &wizard));
    EXPECT_TRUE(wizard.calls.empty()) << "the progress range stays as it was";
}

TEST_F(Prerequisites, TheMinimumBrowserIsIE4UnlessSetupIniNamesAnother)
{
    machine.Set(kExplorer, "Version", "6.0.2900.2180");
    std::string message;
    auto check = [&message](const std::string& minimum) {
        return CheckMinimumBrowser(TestIni("[Properties]\r\nMINIMUM_IE=" + minimum + "\r\n"), message);
    };
    EXPECT_TRUE(check("Bogus"));
    EXPECT_FALSE(check("IE7"));
    EXPECT_EQ("Internet Explorer v.7 or greater must be installed.", message);
    EXPECT_FALSE(check("VCRedist80"));
    EXPECT_EQ("", message) << "no prerequisite exists for it";
}
