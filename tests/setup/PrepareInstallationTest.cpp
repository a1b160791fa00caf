#include "CIniFile.h"
#include "CKWLogFile.h"
#include "CSetupInstallationData.h"
#include "CoreTestSupport.h"
#include "FakeMsi.h"
#include "PrepareInstallation.h"
#include "ProductDescriptor.h"
#include "SetupTestSupport.h"

#include <gtest/gtest.h>

namespace {

const std::string kProperty = "SELECT `Value` FROM `Property` WHERE `Property` = '";

class Prepare : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        GetSetupCore().initialised = true;
        g_logFile = new CKWLogFile(m_folder.File("setup.log"), false);
        product.SetupRegistryKey = "HKEY_LOCAL_MACHINE\\Software\\Zentrel\\Test\\Setup";
        product.DefaultInstallDir = "C:\\Program Files\\Test\\";
        FakeMsi::Package& scripted = fake.packages["C:\\media\\main.msi"];
        scripted.queries[kProperty + "ProductCode'"] = {{"{PRODUCT}"}};
        scripted.queries[kProperty + "ProductVersion'"] = {{"1.0.0"}};
    }
    void TearDown() override
    {
        delete g_logFile;
        g_logFile = nullptr;
        CoreTest::TearDown();
    }
    bool Run(const std::string& content)
    {
        TestIni ini(content);
        CIniFile file;
        file.SetFile(ini.Path());
        return PrepareInstallation(file, data, product, &wizard, m_folder.File("setup.log"), [this] {
            ++steps;
        });
    }
    std::string Log() const { return ReadWholeFile(m_folder.File("setup.log")); }

    MachineSandbox machine;
    FakeMsi fake;
    ProductDescriptor product;
    RecordingWizard wizard;
    CSetupInstallationData data;
    int steps = 0;

private:
    TestFolder m_folder;
};

} // namespace

TEST_F(Prepare, EveryStageLogsAndStepsOnTheWayToTheWizard)
{
    ASSERT_TRUE(Run("[Package1]\r\nDatabase=C:\\media\\main.msi\r\n")) << Log();
    const char* lines[] = {"Value for MINIMUM_MSI is 150",
                           "INI file contains 1 packages",
                           "MSI engine is loaded",
                           "All packages are valid",
                           "Setup mode detected 1",
                           "Default destination folder is: C:\\Program Files\\Test\\",
                           "Gathered setup misc info successfully"};
    std::string log = Log();
    for (const char* line : lines)
        EXPECT_NE(std::string::npos, log.find(line)) << line << "\n" << log;
    EXPECT_EQ(12, steps) << "3 per package and 9 more fit the wait dialog's range";
    EXPECT_EQ(1, fake.CountCalls("MsiEnableLogA")) << "the engine logs into setup's log";
    EXPECT_EQ((std::vector<std::string>{"SetState|1", "SetDestinationFolder|C:\\Program Files\\Test\\"}), wizard.calls);
}

TEST_F(Prepare, NoPackageOrAnInvalidOneStopsWithItsLine)
{
    EXPECT_FALSE(Run("[Package1]\r\nName=Nothing\r\n"));
    EXPECT_NE(std::string::npos, Log().find("INI file does not contain any package to install"));

    fake.packages["C:\\media\\main.msi"].validInstaller = false;
    EXPECT_FALSE(Run("[Package1]\r\nDatabase=C:\\media\\main.msi\r\n"));
    EXPECT_NE(std::string::npos, Log().find("Not all packages are valid"));
    EXPECT_EQ(1u, TakeBoxTexts().size()) << "the user is told why";
    EXPECT_TRUE(wizard.calls.empty());
}
