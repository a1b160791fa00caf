#include "CKWInstallationData.h"
#include "CKWUpdaterApp.h"
#include "CResString.h"
#include "UpdaterWindows.h"

#include <gtest/gtest.h>

namespace {

struct ParameterCase {
    const char* commandLine;
    bool accepted;
    uint32_t mode;
};

class UpdaterParameters : public ::testing::TestWithParam<ParameterCase> {
protected:
    void TearDown() override
    {
        CKWInstallationData::DestroyInstance();
        g_language = kLanguageEnglish;
    }
};

TEST_P(UpdaterParameters, CommandLineGivesTheRunOrFails)
{
    const ParameterCase& c = GetParam();
    UpdaterWindows windows;
    CKWUpdaterApp app(&windows);
    app.Attach(GetModuleHandleA(nullptr), c.commandLine);
    EXPECT_EQ(c.accepted, app.ReadParameters()) << c.commandLine;
    EXPECT_EQ(c.mode, app.GetMode()) << c.commandLine;
}

INSTANTIATE_TEST_SUITE_P(Options, UpdaterParameters,
                         ::testing::Values(ParameterCase{"", true, 0x1C}, ParameterCase{"/silent", true, 0x2},
                                           // Slashes alone separate options; names are case-sensitive.
                                           ParameterCase{"/silent/auto", true, 0x3}, ParameterCase{"SILENT", false, 0},
                                           ParameterCase{"mingui silent", true, 0x22},
                                           ParameterCase{"l:1033", true, 0x1C}, ParameterCase{"/loga", true, 0x1C},
                                           ParameterCase{"l:1034", false, 0}, ParameterCase{"silent:1", false, 0},
                                           ParameterCase{"only", false, 0}, ParameterCase{"pid:12", false, 0},
                                           ParameterCase{"auto pid:12 hwnd:34", true, 0x1},
                                           ParameterCase{"silent ?", false, 0},
                                           ParameterCase{"silent bogus", false, 0}));

TEST(UpdaterApp, LanguageLogAppendAndOnlyAreTakenFromTheCommandLine)
{
    UpdaterWindows windows;
    CKWUpdaterApp app(&windows);
    EXPECT_EQ(kLanguageFrench, g_language) << "the updater speaks French until told otherwise";
    app.Attach(GetModuleHandleA(nullptr), "/l:1033 /loga /silent /only:{AAAA},{BBBB}");
    ASSERT_TRUE(app.ReadParameters());
    EXPECT_EQ(kLanguageEnglish, g_language);
    EXPECT_TRUE(app.GetLogAppend());
    const CKWInstallationData::ProductList& products = CKWInstallationData::GetInstance().GetProducts();
    ASSERT_EQ(2u, products.size());
    EXPECT_EQ("{AAAA}", products[0]->GetProductCode());
    EXPECT_EQ("{BBBB}", products[1]->GetProductCode());
    // The check adds the default products without the exclusive option:
    // refused after /only.
    EXPECT_EQ(nullptr, CKWInstallationData::GetInstance().AddInstalledProduct("{CCCC}", false));
    CKWInstallationData::DestroyInstance();
}

} // namespace
