// The package classes against the real engine and the packages built for the
// tests.
#include "CKWMsiPackage.h"
#include "CKWMsiProduct.h"
#include "CKWMsiQuery.h"
#include "TestFolder.h"
#include "TestPackages.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <set>

using namespace TestPackages;

TEST(RealPackage, IdentityAndPropertiesOfPackageFiles)
{
    CKWMsiPackage package(Path(kBase100), CKWMsiPackage::kKindInstaller);
    EXPECT_TRUE(package.IsValidPackage());
    EXPECT_EQ(kBaseProductCode, package.GetProductCode());
    EXPECT_EQ(kBaseUpgradeCode, package.GetUpgradeCode());
    EXPECT_EQ(kBase100PackageCode, package.GetPackageCode());
    EXPECT_EQ(0x01000000, package.GetPackedVersion());
    EXPECT_EQ("package default", package.GetProperty("KWTESTDEFAULT", true, true));
    EXPECT_EQ(kCompareNotInstalled, package.CompareWithInstalled());

    CKWMsiPackage upgrade(Path(kBase110), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(kBaseProductCode, upgrade.GetProductCode());
    EXPECT_EQ(kBase110PackageCode, upgrade.GetPackageCode());
    EXPECT_EQ("1.1.0", upgrade.GetProductVersion());

    EXPECT_EQ("1", CKWMsiPackage(Path(kElc), 0).GetProperty("KWELC", true, true));
    EXPECT_EQ("1", CKWMsiPackage(Path(kPermanent), 0).GetProperty("KWPermanent", true, true));
    EXPECT_EQ("", CKWMsiPackage(Path(kPermanent), 0).GetProperty("KWELC", true, true));

    TestFolder folder;
    WriteWholeFile(folder.File("notes.msi"), "not a package\r\n");
    CKWMsiPackage text(folder.File("notes.msi"), CKWMsiPackage::kKindInstaller);
    EXPECT_FALSE(text.IsValidPackage());
    EXPECT_EQ(kCompareUnknown, text.CompareWithInstalled());
    EXPECT_FALSE(CKWMsiQuery(folder.File("notes.msi")).IsValid());
}

TEST(RealPackage, TheInstalledStateIsDeliberatelyAskedOnlyOnceTheFileCanBeRead)
{
    // An update's package is described before it is downloaded.
    TestFolder folder;
    const std::string path = folder.File("later.msi");
    CKWMsiPackage package(path, CKWMsiPackage::kKindInstaller);
    package.GetProductState(false);
    package.SetProductState(INSTALLSTATE_DEFAULT);
    ASSERT_TRUE(CopyFileA(Path(kBase100).c_str(), path.c_str(), FALSE));
    // The engine's answer for the package's own product, not the "invalid"
    // of a question asked without a product code.
    EXPECT_EQ(INSTALLSTATE_UNKNOWN, package.GetProductState(true));
    EXPECT_EQ(INSTALLSTATE_DEFAULT, package.GetProductState(false));
    EXPECT_EQ(kCompareNotInstalled, package.CompareWithInstalled());
}

TEST(RealPackage, TheCustomTableAndItsDefaults)
{
    CKWMsiPackage package(Path(kBase100), CKWMsiPackage::kKindInstaller);
    std::string value;
    std::string french;
    EXPECT_TRUE(package.GetSetupProperty("SetupTypeName", value, french));
    EXPECT_EQ("Typical|Typique", value + "|" + french);
    EXPECT_FALSE(package.GetSetupProperty("Absent", value, french));
    EXPECT_EQ(0, package.GetSetupPropertyInt("InstallOnce"));

    package.SetPropertyLine("KWTESTLEVEL=5");
    EXPECT_EQ("KWTESTLEVEL=5 KWTESTDEFAULT=\"table default\"", package.GetPropertyLine());
    EXPECT_EQ("table default", package.GetProperty("KWTESTDEFAULT", true, true));
}

TEST(RealPackage, QueriesWalkTablesRowByRow)
{
    CKWMsiQuery query(Path(kBase100));
    ASSERT_EQ(0u, query.Open("SELECT `Feature`, `Level` FROM `Feature` ORDER BY `Feature_Parent`", ReadOnlyOpenMode()));
    std::set<std::string> features;
    std::string name;
    while (query.Fetch()) {
        EXPECT_EQ(0u, query.GetString(1, name));
        EXPECT_EQ(1, query.GetInteger(2));
        features.insert(name);
    }
    EXPECT_EQ((std::set<std::string>{"Core", "Docs", "Extras"}), features);
    query.Close();

    ASSERT_EQ(0u, query.Open("SELECT `Condition` FROM `LaunchCondition`", ReadOnlyOpenMode()));
    ASSERT_TRUE(query.Fetch());
    EXPECT_EQ(0u, query.GetString(1, name));
    EXPECT_EQ("VersionNT64", name);
    query.Close();
    EXPECT_NE(0u, query.Open("SELECT `Value` FROM `NoSuchTable`", ReadOnlyOpenMode()));
    EXPECT_FALSE(query.IsOpen());
}

namespace {

// Installs KWTestBase 1.0.0 silently and removes it again, so the prefix is
// left as it was found.
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
        EXPECT_EQ("(absent)", ProductValue(kBaseName, "Version"));
        g_msi.MsiSetInternalUI(m_previousLevel, nullptr);
    }

private:
    INSTALLUILEVEL m_previousLevel = INSTALLUILEVEL_DEFAULT;
};

} // namespace

TEST_F(InstalledBase, ComparesTheSameAndANewerPackage)
{
    EXPECT_EQ("1.0.0", ProductValue(kBaseName, "Version")) << "an x64 package writes to the 64-bit view";
    CKWMsiPackage same(Path(kBase100), CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(INSTALLSTATE_DEFAULT, same.GetProductState(true));
    EXPECT_EQ(kCompareSame, same.CompareWithInstalled());
    EXPECT_EQ(kCompareNewer, CKWMsiPackage(Path(kBase110), 0).CompareWithInstalled());

    CKWMsiProduct product(kBaseProductCode);
    EXPECT_EQ(1, product.IsInstalled());
    EXPECT_EQ(PackVersion("1.0.0"), product.GetVersion());
}

TEST_F(InstalledBase, AnOlderPackageAfterAMinorUpgrade)
{
    ASSERT_EQ(0u, g_msi.MsiInstallProductA(Path(kBase110).c_str(), "REINSTALL=ALL REINSTALLMODE=vomus"));
    EXPECT_EQ("1.1.0", ProductValue(kBaseName, "Version"));
    EXPECT_EQ(kCompareOlder, CKWMsiPackage(Path(kBase100), 0).CompareWithInstalled());
    EXPECT_EQ(kCompareSame, CKWMsiPackage(Path(kBase110), 0).CompareWithInstalled());
    EXPECT_EQ(PackVersion("1.1.0"), CKWMsiProduct(kBaseProductCode).GetVersion());
}
