#include "CKWMsiPatch.h"
#include "CoreTestSupport.h"
#include "FakeMsi.h"
#include "SetupCore.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const char kPatch[] = "C:\\updates\\melvaro-1.1.msp";
const char kProduct[] = "{11111111-2222-3333-4444-555555555555}";
const std::string kPropertyQuery = "SELECT `Value` FROM `Property` WHERE `Property` = '";

// A patch scripted in the fake engine, with the core state and traces
// restored or drained around each test.
class MsiPatchTest : public CoreTest {
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        GetSetupCore().rebootNeeded = false;
        FakeMsi::Package& patch = m_fake.packages[kPatch];
        patch.validInstaller = false;
        patch.validPatch = true;
    }
    void TearDown() override
    {
        EXPECT_EQ(0u, m_fake.OpenHandles());
        CoreTest::TearDown();
    }
    void ForProduct(int state)
    {
        m_fake.packages[kPatch].queries[kPropertyQuery + "ProductCode'"] = {{kProduct}};
        m_fake.productStates[kProduct] = state;
    }
    std::vector<std::string> Applied() const { return m_fake.CallsTo("MsiApplyPatchA"); }
    static bool Traced(const std::vector<std::string>& traces, const std::string& text)
    {
        return std::find(traces.begin(), traces.end(), text) != traces.end();
    }

    FakeMsi m_fake;
};

} // namespace

TEST_F(MsiPatchTest, MinorPatchForAnInstalledProductUsesTheDefaultCommandLine)
{
    ForProduct(INSTALLSTATE_DEFAULT);
    CKWMsiPatch patch(kPatch);
    EXPECT_EQ(0u, patch.Execute());
    EXPECT_EQ(std::vector<std::string>{std::string(kPatch) + "|{null}|0|REINSTALL=ALL REINSTALLMODE=omus"}, Applied());
    std::vector<std::string> traces = TakeTraces();
    EXPECT_TRUE(Traced(traces, "[Info] MsiQueryProductState returned 5\n"));
    EXPECT_TRUE(Traced(traces, "[Info] The product code '" + std::string(kProduct) +
                                   "' is known. Will use QFE recache and reinstall upgrade logic...\n"));
    EXPECT_TRUE(Traced(traces, "[Info] Patch is a MINPATCH (small or minor update patch) so using default command "
                               "line 'REINSTALL=ALL REINSTALLMODE=omus'\n"));
    EXPECT_TRUE(Traced(traces, "[Info] Calling MsiApplyPatch with szPatchPackage = " + std::string(kPatch) + "\n"));
    EXPECT_TRUE(Traced(traces, "\tand szInstallPackage = {null} and eInstallType = INSTALLTYPE_DEFAULT\n"));
    EXPECT_TRUE(Traced(traces, "\tand szCommandLine = REINSTALL=ALL REINSTALLMODE=omus\n"));
    EXPECT_EQ("[Info] MsiApplyPatch returned 0\n", LastOf(traces));
}

TEST_F(MsiPatchTest, PatchWithoutProductCodeCountsAsKnown)
{
    CKWMsiPatch patch(kPatch);
    patch.Operation = "DEFAULT";
    EXPECT_EQ(0u, patch.Execute());
    EXPECT_EQ(std::vector<std::string>{std::string(kPatch) + "|{null}|0|REINSTALL=ALL REINSTALLMODE=omus"}, Applied());
    EXPECT_EQ(0, m_fake.CountCalls("MsiQueryProductStateA"));
}

TEST_F(MsiPatchTest, UnknownProductOrMajorPatchDeliberatelyGetsANullCommandLine)
{
    ForProduct(INSTALLSTATE_UNKNOWN);
    CKWMsiPatch minor(kPatch);
    EXPECT_EQ(0u, minor.Execute());
    EXPECT_TRUE(Traced(TakeTraces(), "[Info] The product code '" + std::string(kProduct) +
                                         "' is unknown. Will use first time install logic...\n"));

    ForProduct(INSTALLSTATE_DEFAULT);
    CKWMsiPatch major(kPatch);
    major.Operation = "MAJPATCH";
    EXPECT_EQ(0u, major.Execute());
    EXPECT_TRUE(Traced(TakeTraces(), "\tand szCommandLine = {null}\n"));
    EXPECT_EQ(
        (std::vector<std::string>{std::string(kPatch) + "|{null}|0|{null}", std::string(kPatch) + "|{null}|0|{null}"}),
        Applied());
}

TEST_F(MsiPatchTest, GivenPropertyLineIsUsedWhateverTheProductState)
{
    ForProduct(INSTALLSTATE_DEFAULT);
    CKWMsiPatch patch(kPatch);
    patch.SetPropertyLine("REINSTALL=Core REINSTALLMODE=omus");
    EXPECT_EQ(0u, patch.Execute());
    EXPECT_EQ(std::vector<std::string>{std::string(kPatch) + "|{null}|0|REINSTALL=Core REINSTALLMODE=omus"}, Applied());
    std::map<int, std::string>& properties = GetSetupCore().CoreProperties;
    EXPECT_EQ("MINPATCH", properties[kCorePropertyPatchOperation]);
    EXPECT_EQ("REINSTALL=Core REINSTALLMODE=omus", properties[kCorePropertyPatchCommandLine]);
    EXPECT_EQ("", properties[kCorePropertyPatchReserved]);
    EXPECT_EQ(kPatch, properties[kCorePropertyPatchPath]);
}

TEST_F(MsiPatchTest, APatchDeliberatelyRecordsItsDisplayName)
{
    ForProduct(INSTALLSTATE_DEFAULT);
    CKWMsiPatch patch(kPatch);
    patch.DisplayName = "Melvaro 2012 update 1";
    EXPECT_EQ(0u, patch.Execute());
    EXPECT_EQ("Melvaro 2012 update 1", GetSetupCore().CoreProperties[kCorePropertyPatchDisplayName]);
}

TEST_F(MsiPatchTest, InvalidOperationsAreRefused)
{
    for (const char* operation : {"INSTALLUPD", ""}) {
        CKWMsiPatch patch(kPatch);
        patch.Operation = operation;
        EXPECT_EQ(87u, patch.Execute()) << operation;
        EXPECT_EQ("[Error] Operation " + std::string(operation) + " is not valid on package '" + kPatch + "'\n",
                  LastOf(TakeTraces()));
    }
    EXPECT_TRUE(Applied().empty());
}

TEST_F(MsiPatchTest, AdministrativeImageNeedsAnInstallPoint)
{
    g_runKind = kRunKindAdministrative;
    CKWMsiPatch patch(kPatch);
    EXPECT_EQ(3u, patch.Execute());
    EXPECT_TRUE(Applied().empty());

    g_adminInstallPoint = "D:\\Admin Image";
    EXPECT_EQ(0u, patch.Execute());
    EXPECT_EQ(std::vector<std::string>{std::string(kPatch) + "|D:\\Admin Image|1|REINSTALL=ALL REINSTALLMODE=omus"},
              Applied());
    EXPECT_TRUE(Traced(TakeTraces(),
                       "\tand szInstallPackage = D:\\Admin Image and eInstallType = INSTALLTYPE_NETWORK_IMAGE\n"));
}

TEST_F(MsiPatchTest, RestartBecomesSuccessAndErrorsAreShownOnce)
{
    CKWMsiPatch patch(kPatch);
    m_fake.applyPatchResult = 3010;
    EXPECT_EQ(0u, patch.Execute());
    EXPECT_TRUE(GetSetupCore().rebootNeeded);
    m_fake.applyPatchResult = 1642;
    EXPECT_EQ(1642u, patch.Execute());
    EXPECT_EQ(1u, Boxes().size());
    EXPECT_EQ("[Info] MsiApplyPatch returned 1642\n", LastOf(TakeTraces()));
}

TEST_F(MsiPatchTest, ValidityAndTheEngine)
{
    CKWMsiPatch patch(kPatch);
    EXPECT_TRUE(patch.IsValidPackage());
    m_fake.packages["C:\\updates\\full.msi"].validPatch = false;
    CKWMsiPatch notAPatch("C:\\updates\\full.msi");
    EXPECT_FALSE(notAPatch.IsValidPackage());

    m_fake.Unbind();
    EXPECT_EQ(1603u, patch.Execute());
    EXPECT_TRUE(Applied().empty());
}
