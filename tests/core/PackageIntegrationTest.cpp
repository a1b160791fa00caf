// The package classes against the real engine and packages built for the
// tests.
#include "CKWMsiPackage.h"
#include "CKWMsiProduct.h"
#include "CKWMsiQuery.h"
#include "TestFolder.h"
#include "TestPackages.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace TestPackages;

TEST(RealPackage, IdentityOfAPackageFile)
{
    CKWMsiPackage package(Path(kBase100), CKWMsiPackage::kKindInstaller);
    EXPECT_TRUE(package.IsValidPackage());
    EXPECT_EQ(kBaseProductCode, package.GetProductCode());
    EXPECT_EQ(kBaseUpgradeCode, package.GetUpgradeCode());
    EXPECT_EQ(kBase100PackageCode, package.GetPackageCode());
    EXPECT_EQ("1.0.0", package.GetProductVersion());
    EXPECT_EQ(0x01000000, package.GetPackedVersion());

    CKWMsiPackage upgrade(Path(kBase110), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(kBaseProductCode, upgrade.GetProductCode()) << "a minor upgrade keeps the product code";
    EXPECT_EQ(kBase110PackageCode, upgrade.GetPackageCode());
    EXPECT_EQ(1, upgrade.GetVersionPart(2));
}

TEST(RealPackage, ATextFileIsNoPackage)
{
    TestFolder folder;
    WriteWholeFile(folder.File("notes.msi"), "not a package\r\n");
    CKWMsiPackage package(folder.File("notes.msi"), CKWMsiPackage::kKindInstaller);
    EXPECT_FALSE(package.IsValidPackage());
    EXPECT_EQ(kCompareUnknown, package.CompareWithInstalled());
    EXPECT_EQ("", package.GetProductCode());
    EXPECT_EQ("", package.GetPackageCode());
    CKWMsiQuery query(folder.File("notes.msi"));
    EXPECT_FALSE(query.IsValid());
}

TEST(RealPackage, SetupPropertiesAndDefaultsFromTheCustomTable)
{
    CKWMsiPackage package(Path(kBase100), CKWMsiPackage::kKindInstaller);
    std::string value;
    std::string french;
    EXPECT_TRUE(package.GetSetupProperty("SetupTypeName", value, french));
    EXPECT_EQ("Typical", value);
    EXPECT_EQ("Typique", french);
    EXPECT_FALSE(package.GetSetupProperty("Absent", value, french));
    EXPECT_EQ("", value);
    EXPECT_EQ("", french);
    EXPECT_EQ(0, package.GetSetupPropertyInt("InstallOnce"));
    EXPECT_EQ(0, package.GetSetupPropertyInt("SetupTypeName"));

    package.SetPropertyLine("KWTESTLEVEL=5");
    EXPECT_EQ("KWTESTLEVEL=5 KWTESTDEFAULT=\"table default\"", package.GetPropertyLine());
    EXPECT_EQ("table default", package.GetProperty("KWTESTDEFAULT", true, true));

    CKWMsiPackage fresh(Path(kBase100), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ("package default", fresh.GetProperty("KWTESTDEFAULT", true, true)) << "from the Property table";
    EXPECT_EQ("KWTESTDEFAULT=\"table default\" KWTESTLEVEL=2", fresh.GetPropertyLine());
}

TEST(RealPackage, PackageFlagsFromThePropertyTable)
{
    CKWMsiPackage elc(Path(kElc), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ("1", elc.GetProperty("KWELC", true, true));
    EXPECT_EQ("", elc.GetProperty("KWPermanent", true, true));
    CKWMsiPackage permanent(Path(kPermanent), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ("1", permanent.GetProperty("KWPermanent", true, true));
    EXPECT_EQ(kPermanentProductCode, permanent.GetProductCode());
}

TEST(RealPackage, QueriesWalkTablesRowByRow)
{
    CKWMsiQuery query(Path(kBase100));
    ASSERT_TRUE(query.IsValid());
    ASSERT_EQ(0u, query.Open("SELECT `Feature`, `Level` FROM `Feature` ORDER BY `Feature_Parent`", ReadOnlyOpenMode()));
    std::vector<std::string> features;
    std::string name;
    while (query.Fetch()) {
        EXPECT_EQ(0u, query.GetString(1, name));
        features.push_back(name);
        EXPECT_EQ(1, query.GetInteger(2));
    }
    std::sort(features.begin(), features.end());
    EXPECT_EQ((std::vector<std::string>{"Core", "Docs", "Extras"}), features);
    EXPECT_EQ(259u, query.GetString(1, name));
    query.Close();

    ASSERT_EQ(0u, query.Open("SELECT `Condition` FROM `LaunchCondition`", ReadOnlyOpenMode()));
    ASSERT_TRUE(query.Fetch());
    EXPECT_EQ(0u, query.GetString(1, name));
    EXPECT_EQ("VersionNT64", name);
    EXPECT_FALSE(query.Fetch());
    query.Close();

    EXPECT_NE(0u, query.Open("SELECT `Value` FROM `NoSuchTable`", ReadOnlyOpenMode()));
    EXPECT_FALSE(query.IsOpen());
    EXPECT_FALSE(query.Fetch());
}

TEST(RealPackage, AProductThatIsNotInstalled)
{
    CKWMsiPackage package(Path(kElc), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(INSTALLSTATE_UNKNOWN, package.GetProductState(true));
    EXPECT_EQ(kCompareNotInstalled, package.CompareWithInstalled());
    EXPECT_EQ("", package.GetInstalledInfo("VersionString"));
    CKWMsiProduct product(kElcProductCode);
    EXPECT_EQ(0, product.IsInstalled());
    EXPECT_EQ(0, product.GetVersion());
}

namespace {

// A value the test product writes to the 64-bit registry view.
std::string ProductValue(const char* name)
{
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    std::string key = std::string("Software\\KWTest\\") + kBaseName;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return "(absent)";
    return value;
}

// Installs KWTestBase 1.0.0 silently and removes it again, so the prefix
// is left as it was found.
class InstalledBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousLevel = g_msi.MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
        ASSERT_EQ(0u, g_msi.MsiInstallProductA(Path(kBase100).c_str(), ""));
    }
    void TearDown() override
    {
        EXPECT_EQ(0u, g_msi.MsiConfigureProductA(kBaseProductCode, 0, INSTALLSTATE_ABSENT));
        EXPECT_EQ(INSTALLSTATE_UNKNOWN, g_msi.MsiQueryProductStateA(kBaseProductCode));
        EXPECT_EQ("(absent)", ProductValue("Version"));
        g_msi.MsiSetInternalUI(m_previousLevel, nullptr);
    }

private:
    INSTALLUILEVEL m_previousLevel = INSTALLUILEVEL_DEFAULT;
};

} // namespace

TEST_F(InstalledBase, ComparesSameAndNewerPackages)
{
    EXPECT_EQ("1.0.0", ProductValue("Version")) << "an x64 package writes to the 64-bit view";
    EXPECT_EQ("package default", ProductValue("Default"));
    CKWMsiPackage same(Path(kBase100), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(INSTALLSTATE_DEFAULT, same.GetProductState(true));
    EXPECT_EQ(kBase100PackageCode, same.GetInstalledInfo("PackageCode"));
    EXPECT_EQ(kCompareSame, same.CompareWithInstalled());

    CKWMsiPackage newer(Path(kBase110), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(kCompareNewer, newer.CompareWithInstalled());

    CKWMsiProduct product(kBaseProductCode);
    EXPECT_EQ(1, product.IsInstalled());
    EXPECT_EQ(PackVersion("1.0.0"), product.GetVersion());
    std::string text;
    EXPECT_EQ(0u, product.GetInfo("VersionString", text));
    EXPECT_EQ("1.0.0", text);
}

TEST_F(InstalledBase, AnOlderPackageAfterAMinorUpgrade)
{
    ASSERT_EQ(0u, g_msi.MsiInstallProductA(Path(kBase110).c_str(), "REINSTALL=ALL REINSTALLMODE=vomus"));
    EXPECT_EQ("1.1.0", ProductValue("Version"));
    CKWMsiPackage older(Path(kBase100), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(kCompareOlder, older.CompareWithInstalled());
    CKWMsiPackage same(Path(kBase110), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(kCompareSame, same.CompareWithInstalled());
    EXPECT_EQ(PackVersion("1.1.0"), CKWMsiProduct(kBaseProductCode).GetVersion());
}
