#include "CKWMsiPackage.h"
#include "CKWMsiProduct.h"
#include "FakeMsi.h"
#include "TraceMessage.h"

#include <gtest/gtest.h>

namespace {

const char kPath[] = "C:\\p\\product.msi";
const char kProduct[] = "{5E1A7C02-0000-4000-8000-000000000001}";
const char kPackageCode[] = "{5E1A7C02-0000-4000-8000-0000000000AA}";

std::string PropertyQuery(const std::string& name)
{
    return "SELECT `Value` FROM `Property` WHERE `Property` = '" + name + "'";
}

std::string SetupQuery(const std::string& key)
{
    return "SELECT `Value`,`ValueF` FROM `KWSetupProperty` WHERE `Property` = '" + key + "'";
}

std::string SetupIntQuery(const std::string& key)
{
    return "SELECT `Value` FROM `KWSetupProperty` WHERE `Property` = '" + key + "'";
}

// Texts traced on this thread since the last call.
std::vector<std::string> TakeTraces()
{
    std::vector<std::string> traces;
    MSG msg;
    UINT id = WriteToLogMessageId();
    while (PeekMessageA(&msg, nullptr, id, id, PM_REMOVE))
        traces.push_back(TakeTracedText(msg.wParam));
    return traces;
}

class MsiPackage : public ::testing::Test {
protected:
    MsiPackage()
    {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // a queue for the traces
        TakeTraces();
        FakeMsi::Package& package = fake.packages[kPath];
        package.packageCode = kPackageCode;
        package.queries[PropertyQuery("ProductCode")] = {{kProduct}};
        package.queries[PropertyQuery("UpgradeCode")] = {{"{5E1A7C02-0000-4000-8000-0000000000FF}"}};
        package.queries[PropertyQuery("ProductVersion")] = {{"2.5.17"}};
    }
    void TearDown() override { EXPECT_EQ(0u, fake.OpenHandles()); }

    void Install(const std::string& packageCode, const std::string& version, int state = INSTALLSTATE_DEFAULT)
    {
        fake.productStates[kProduct] = state;
        fake.productInfo[kProduct] = {{"PackageCode", packageCode}, {"VersionString", version}};
    }

    FakeMsi fake;
};

} // namespace

TEST_F(MsiPackage, IdentityComesFromThePropertyTableOnce)
{
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(kProduct, package.GetProductCode());
    EXPECT_EQ("{5E1A7C02-0000-4000-8000-0000000000FF}", package.GetUpgradeCode());
    EXPECT_EQ("2.5.17", package.GetProductVersion());
    EXPECT_EQ(0x02050011, package.GetPackedVersion());
    EXPECT_EQ(2, package.GetVersionPart(1));
    EXPECT_EQ(5, package.GetVersionPart(2));
    EXPECT_EQ(17, package.GetVersionPart(3));
    EXPECT_EQ(0, package.GetVersionPart(0));
    EXPECT_EQ(0, package.GetVersionPart(4));

    int opened = fake.CountCalls("MsiOpenDatabaseA");
    EXPECT_EQ(kProduct, package.GetProductCode());
    EXPECT_EQ("2.5.17", package.GetProductVersion());
    EXPECT_EQ(opened, fake.CountCalls("MsiOpenDatabaseA")) << "cached";
    EXPECT_EQ(std::string(kPath) + "|0", fake.CallsTo("MsiOpenDatabaseA").front()) << "read-only";
    EXPECT_TRUE(TakeTraces().empty());
}

TEST_F(MsiPackage, AVersionWithoutFullStopIsTracedAsUnreadable)
{
    fake.packages[kPath].queries[PropertyQuery("ProductVersion")] = {{"7"}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(0, package.GetVersionPart(1));
    EXPECT_EQ(std::vector<std::string>{"[Info] Could not get ProductVersion\n"}, TakeTraces());
    EXPECT_EQ(0x07000000, package.GetPackedVersion());
}

TEST_F(MsiPackage, PackageCodeFromTheSummaryInformation)
{
    std::string longCode = std::string(kPackageCode) + std::string(kPackageCode) + std::string(kPackageCode);
    fake.packages[kPath].packageCode = longCode;
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(longCode, package.GetPackageCode()) << "longer than 40 characters: read again";
    fake.packages[kPath].packageCode = "changed";
    EXPECT_EQ(longCode, package.GetPackageCode()) << "cached";

    FakeMsi::Package& patchPackage = fake.packages["C:\\p\\fix.msp"];
    patchPackage.validPatch = true;
    patchPackage.packageCode = "{PATCH}";
    CKWMsiPackage patch("C:\\p\\fix.msp", CKWMsiPackage::kKindPatch);
    EXPECT_EQ("{PATCH}", patch.GetPackageCode());
    EXPECT_EQ("C:\\p\\fix.msp|32", fake.CallsTo("MsiOpenDatabaseA").back()) << "patches open as patch files";

    CKWMsiPackage missing("C:\\p\\missing.msi", CKWMsiPackage::kKindInstaller);
    EXPECT_EQ("", missing.GetPackageCode());
}

TEST_F(MsiPackage, PathIsMadeAbsolute)
{
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    CKWMsiPackage package("product.msi", CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(std::string(current) + "\\product.msi", package.GetPath());
    EXPECT_TRUE(package.SetPath("C:\\q\\..\\p\\product.msi"));
    EXPECT_EQ(kPath, package.GetPath());
    EXPECT_TRUE(package.SetPath(""));
    EXPECT_EQ("", package.GetPath());
}

TEST_F(MsiPackage, OnlyAValidPackageIsRemembered)
{
    fake.packages[kPath].validInstaller = false;
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_FALSE(package.IsValidPackage());
    fake.packages[kPath].validInstaller = true;
    EXPECT_TRUE(package.IsValidPackage()) << "asked again after a failure";
    fake.packages[kPath].validInstaller = false;
    EXPECT_TRUE(package.IsValidPackage());
    EXPECT_EQ(2, fake.CountCalls("MsiVerifyPackageA"));
}

TEST_F(MsiPackage, ProductStateIsAskedOnceAndTheWantedStateCanBeOverridden)
{
    fake.productStates[kProduct] = INSTALLSTATE_ABSENT;
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(INSTALLSTATE_ABSENT, package.GetProductState(false));
    EXPECT_FALSE(package.IsWanted());
    package.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_EQ(INSTALLSTATE_DEFAULT, package.GetProductState(false));
    EXPECT_TRUE(package.IsWanted());
    EXPECT_EQ(INSTALLSTATE_ABSENT, package.GetProductState(true));
    EXPECT_EQ(std::vector<std::string>{kProduct}, fake.CallsTo("MsiQueryProductStateA"));

    // The wanted state may be set before the engine was ever asked.
    CKWMsiPackage early(kPath, CKWMsiPackage::kKindInstaller);
    early.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_EQ(INSTALLSTATE_ABSENT, early.GetProductState(true));
    EXPECT_EQ(INSTALLSTATE_DEFAULT, early.GetProductState(false));
}

TEST_F(MsiPackage, ComparesWithTheInstalledProduct)
{
    struct Case {
        const char* name;
        int state;
        std::string packageCode;
        std::string version;
        int expected;
    };
    const Case cases[] = {
        {"not installed", INSTALLSTATE_UNKNOWN, "", "", kCompareNotInstalled},
        {"removed", INSTALLSTATE_ABSENT, kPackageCode, "2.5.17", kCompareNotInstalled},
        {"same package", INSTALLSTATE_DEFAULT, kPackageCode, "1.0.0", kCompareSame},
        {"same package, other letter case", INSTALLSTATE_ADVERTISED, "{5e1a7c02-0000-4000-8000-0000000000aa}", "9.0",
         kCompareSame},
        {"same version", INSTALLSTATE_LOCAL, "{OTHER}", "2.05.17", kCompareSame},
        {"installed newer", INSTALLSTATE_SOURCE, "{OTHER}", "2.6.0", kCompareOlder},
        {"installed older", INSTALLSTATE_DEFAULT, "{OTHER}", "2.5.16", kCompareNewer},
    };
    for (const Case& c : cases) {
        Install(c.packageCode, c.version, c.state);
        CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
        EXPECT_EQ(c.expected, package.CompareWithInstalled()) << c.name;
        EXPECT_EQ(c.expected, package.GetInstallState()) << c.name;
    }
}

TEST_F(MsiPackage, ComparisonIsCachedExceptWhenUnknown)
{
    fake.packages[kPath].validInstaller = false;
    Install("{OTHER}", "1.0");
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(kCompareUnknown, package.CompareWithInstalled());
    fake.packages[kPath].validInstaller = true;
    EXPECT_EQ(kCompareNewer, package.CompareWithInstalled());
    fake.productInfo[kProduct]["VersionString"] = "3.0";
    EXPECT_EQ(kCompareNewer, package.CompareWithInstalled());
}

TEST_F(MsiPackage, InstalledInfoIsReadWhateverItsLength)
{
    std::string longName(400, 'n');
    fake.productInfo[kProduct] = {{"ProductName", longName}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(longName, package.GetInstalledInfo("ProductName"));
    EXPECT_EQ("", package.GetInstalledInfo("VersionString"));
}

TEST_F(MsiPackage, SetupPropertiesFromTheCustomTable)
{
    FakeMsi::Package& scripted = fake.packages[kPath];
    scripted.queries[SetupQuery("SetupTypeName")] = {{"Typical", "Typique"}, {"Second", "row"}};
    scripted.queries[SetupQuery("FrenchOnly")] = {{"", "Seulement"}};
    scripted.queries[SetupQuery("Blank")] = {{"", ""}};
    scripted.queries[SetupQuery("Long")] = {{std::string(500, 'v'), ""}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);

    std::string value = "stale";
    std::string french = "stale";
    EXPECT_TRUE(package.GetSetupProperty("SetupTypeName", value, french));
    EXPECT_EQ("Typical", value);
    EXPECT_EQ("Typique", french);
    EXPECT_TRUE(package.GetSetupProperty("FrenchOnly", value, french));
    EXPECT_EQ("", value);
    EXPECT_EQ("Seulement", french);
    EXPECT_FALSE(package.GetSetupProperty("Blank", value, french));
    EXPECT_TRUE(package.GetSetupProperty("Long", value, french));
    EXPECT_EQ(std::string(500, 'v'), value);
    EXPECT_FALSE(package.GetSetupProperty("Absent", value, french));
    EXPECT_EQ("", value);
    EXPECT_EQ("", french);

    scripted.failingQueries.push_back(SetupQuery("NoTable"));
    EXPECT_FALSE(package.GetSetupProperty("NoTable", value, french));
}

TEST_F(MsiPackage, AKeyWithAQuoteMatchesNothingInsteadOfRewritingTheQuery)
{
    FakeMsi::Package& scripted = fake.packages[kPath];
    // What the key would select if it were pasted into the query.
    scripted.queries[SetupQuery("x' OR `Property` <> '")] = {{"injected", ""}};
    scripted.queries[PropertyQuery("x' OR `Property` <> '")] = {{"injected"}};
    scripted.queries[SetupIntQuery("x' OR `Property` <> '")] = {{"1"}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    int opened = fake.CountCalls("MsiOpenDatabaseA");
    std::string value;
    std::string french;
    EXPECT_FALSE(package.GetSetupProperty("x' OR `Property` <> '", value, french));
    EXPECT_EQ("", package.GetProperty("x' OR `Property` <> '", true, true));
    EXPECT_EQ(0, package.GetSetupPropertyInt("x' OR `Property` <> '"));
    EXPECT_EQ(opened, fake.CountCalls("MsiOpenDatabaseA"));
}

TEST_F(MsiPackage, SetupPropertyNumbers)
{
    FakeMsi::Package& scripted = fake.packages[kPath];
    scripted.queries[SetupIntQuery("InstallOnce")] = {{"1"}, {"0"}};
    scripted.queries[SetupIntQuery("Zero")] = {{"0"}};
    scripted.queries[SetupIntQuery("Empty")] = {{""}};
    scripted.queries[SetupIntQuery("Word")] = {{"yes"}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(1, package.GetSetupPropertyInt("InstallOnce"));
    EXPECT_EQ(0, package.GetSetupPropertyInt("Zero"));
    EXPECT_EQ(0, package.GetSetupPropertyInt("Absent"));
    // Not the engine's null marker, which a caller would take for "set".
    EXPECT_EQ(0, package.GetSetupPropertyInt("Empty"));
    EXPECT_EQ(0, package.GetSetupPropertyInt("Word"));
}

TEST_F(MsiPackage, WithoutAnEngineEverythingIsEmptyOrUnknown)
{
    Install(kPackageCode, "2.5.17");
    fake.packages[kPath].queries[SetupIntQuery("Properties")] = {{"A=1"}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    package.SetPropertyLine("B=2");
    fake.Unbind();

    EXPECT_FALSE(package.IsValidPackage());
    EXPECT_EQ("", package.GetProductCode());
    EXPECT_EQ("", package.GetPackageCode());
    EXPECT_EQ("", package.GetProductVersion());
    EXPECT_EQ("", package.GetInstalledInfo("VersionString"));
    EXPECT_EQ(INSTALLSTATE_UNKNOWN, package.GetProductState(true));
    EXPECT_EQ(INSTALLSTATE_UNKNOWN, package.GetProductState(false));
    package.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_EQ(INSTALLSTATE_DEFAULT, package.GetProductState(false));
    EXPECT_EQ(kCompareUnknown, package.CompareWithInstalled());
    std::string value;
    std::string french;
    EXPECT_FALSE(package.GetSetupProperty("SetupTypeName", value, french));
    EXPECT_EQ(0, package.GetSetupPropertyInt("InstallOnce"));
    EXPECT_EQ("2", package.GetProperty("B", true, true));
    EXPECT_EQ("", package.GetProperty("ProductCode", true, true));
    EXPECT_EQ("B=2", package.GetPropertyLine());
}

TEST(MsiProduct, ReadsInstalledProductInformation)
{
    FakeMsi fake;
    fake.productInfo[kProduct] = {
        {"VersionString", "2.5.17"}, {"Version", "33882129"}, {"ProductName", std::string(300, 'p')}};
    CKWMsiProduct product(kProduct);
    std::string text;
    EXPECT_EQ(0u, product.GetInfo("ProductName", text));
    EXPECT_EQ(std::string(300, 'p'), text) << "longer than 260 characters: read again";
    EXPECT_EQ(static_cast<UINT>(ERROR_UNKNOWN_PROPERTY), product.GetInfo("Missing", text));
    EXPECT_EQ("", text);
    EXPECT_EQ(0x02050011, product.GetVersion());
    EXPECT_EQ(1, product.IsInstalled());

    CKWMsiProduct other("{5E1A7C02-0000-4000-8000-000000000002}");
    EXPECT_EQ(0, other.GetVersion());
    EXPECT_EQ(0, other.IsInstalled());

    CKWMsiProduct noCode("");
    EXPECT_EQ(1605u, noCode.GetInfo("ProductName", text));

    fake.Unbind();
    EXPECT_EQ(1601u, product.GetInfo("ProductName", text));
    EXPECT_EQ("", text);
    EXPECT_EQ(0, product.GetVersion());
    EXPECT_EQ(-2, product.IsInstalled());
}
