#include "CKWMsiPackage.h"
#include "CKWMsiProduct.h"
#include "CoreTestSupport.h"
#include "FakeMsi.h"
#include "TraceMessage.h"

#include <gtest/gtest.h>

namespace {

const char kPath[] = "C:\\p\\product.msi";
const char kProduct[] = "{5E1A7C02-0000-4000-8000-000000000001}";
const char kPackageCode[] = "{5E1A7C02-0000-4000-8000-0000000000AA}";
const std::string kSetup = "SELECT `Value`,`ValueF` FROM `KWSetupProperty` WHERE `Property` = '";
const std::string kSetupInt = "SELECT `Value` FROM `KWSetupProperty` WHERE `Property` = '";
const std::string kProperty = "SELECT `Value` FROM `Property` WHERE `Property` = '";

class MsiPackage : public ::testing::Test {
protected:
    MsiPackage()
    {
        scripted.packageCode = kPackageCode;
        scripted.queries[kProperty + "ProductCode'"] = {{kProduct}};
        scripted.queries[kProperty + "ProductVersion'"] = {{"2.5.17"}};
    }
    void TearDown() override { EXPECT_EQ(0u, fake.OpenHandles()); }

    void Install(const std::string& packageCode, const std::string& version, int state = INSTALLSTATE_DEFAULT)
    {
        fake.productStates[kProduct] = state;
        fake.productInfo[kProduct] = {{"PackageCode", packageCode}, {"VersionString", version}};
    }

    FakeMsi fake;
    FakeMsi::Package& scripted = fake.packages[kPath];
};

} // namespace

TEST_F(MsiPackage, IdentityIsReadOnceFromThePackage)
{
    std::string longCode = std::string(kPackageCode) + kPackageCode; // beyond the first 40 characters
    scripted.packageCode = longCode;
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(kProduct, package.GetProductCode());
    EXPECT_EQ(longCode, package.GetPackageCode());
    EXPECT_EQ(0x02050011, package.GetPackedVersion());
    EXPECT_EQ(17, package.GetVersionPart(3));
    EXPECT_EQ(0, package.GetVersionPart(4));
    EXPECT_EQ(std::string(kPath) + "|0", FirstOf(fake.CallsTo("MsiOpenDatabaseA"))) << "read-only";

    size_t calls = fake.calls.size();
    scripted.packageCode = "changed";
    scripted.queries[kProperty + "ProductVersion'"] = {{"3.0.0"}};
    EXPECT_EQ(longCode, package.GetPackageCode());
    EXPECT_EQ("2.5.17", package.GetProductVersion());
    EXPECT_EQ(calls, fake.calls.size()) << "cached";

    scripted.validPatch = true;
    CKWMsiPackage patch(kPath, CKWMsiPackage::kKindPatch);
    patch.GetPackageCode();
    EXPECT_EQ(std::string(kPath) + "|32", LastOf(fake.CallsTo("MsiOpenDatabaseA"))) << "patches open as patch files";
}

TEST_F(MsiPackage, AVersionWithoutFullStopIsTraced)
{
    MSG msg;
    UINT id = WriteToLogMessageId();
    while (PeekMessageA(&msg, nullptr, id, id, PM_REMOVE)) // earlier traces; gives the thread a queue
        TakeTracedText(msg.wParam);
    scripted.queries[kProperty + "ProductVersion'"] = {{"7"}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(0, package.GetVersionPart(1));
    std::vector<std::string> traces;
    while (PeekMessageA(&msg, nullptr, id, id, PM_REMOVE))
        traces.push_back(TakeTracedText(msg.wParam));
    EXPECT_EQ(std::vector<std::string>{"[Info] Could not get ProductVersion\n"}, traces);
}

TEST_F(MsiPackage, OnlyAValidPackageIsRemembered)
{
    scripted.validInstaller = false;
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_FALSE(package.IsValidPackage());
    scripted.validInstaller = true;
    EXPECT_TRUE(package.IsValidPackage());
    scripted.validInstaller = false;
    EXPECT_TRUE(package.IsValidPackage());
    EXPECT_EQ(2, fake.CountCalls("MsiVerifyPackageA"));
}

TEST_F(MsiPackage, TheWantedStateOverridesTheInstalledOne)
{
    fake.productStates[kProduct] = INSTALLSTATE_ABSENT;
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(INSTALLSTATE_ABSENT, package.GetProductState(false));
    package.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_TRUE(package.IsWanted());
    EXPECT_EQ(INSTALLSTATE_ABSENT, package.GetProductState(true));
    EXPECT_EQ(1, fake.CountCalls("MsiQueryProductStateA"));
}

TEST_F(MsiPackage, MendedAWantedStateSetBeforeTheFirstQueryIsKept)
{
    fake.productStates[kProduct] = INSTALLSTATE_ABSENT;
    CKWMsiPackage early(kPath, CKWMsiPackage::kKindInstaller);
    early.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_EQ(INSTALLSTATE_ABSENT, early.GetProductState(true));
    EXPECT_EQ(INSTALLSTATE_DEFAULT, early.GetProductState(false));
}

TEST_F(MsiPackage, ComparesWithTheInstalledProduct)
{
    struct Case {
        int state;
        std::string packageCode;
        std::string version;
        int expected;
    };
    const Case cases[] = {
        {INSTALLSTATE_UNKNOWN, "", "", kCompareNotInstalled},
        {INSTALLSTATE_ABSENT, kPackageCode, "2.5.17", kCompareNotInstalled},
        {INSTALLSTATE_DEFAULT, kPackageCode, "1.0.0", kCompareSame},
        {INSTALLSTATE_LOCAL, "{OTHER}", "2.05.17", kCompareSame},
        {INSTALLSTATE_SOURCE, "{OTHER}", "2.6.0", kCompareOlder},
        {INSTALLSTATE_DEFAULT, "{OTHER}", "2.5.16", kCompareNewer},
    };
    for (const Case& c : cases) {
        Install(c.packageCode, c.version, c.state);
        CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
        EXPECT_EQ(c.expected, package.GetInstallState()) << c.state << " " << c.packageCode << " " << c.version;
    }

    // Unknown is asked again; a known result is kept.
    scripted.validInstaller = false;
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(kCompareUnknown, package.CompareWithInstalled());
    scripted.validInstaller = true;
    EXPECT_EQ(kCompareNewer, package.CompareWithInstalled());
    fake.productInfo[kProduct]["VersionString"] = "3.0";
    EXPECT_EQ(kCompareNewer, package.CompareWithInstalled());
}

TEST_F(MsiPackage, PackageCodesAreDeliberatelyComparedIgnoringCase)
{
    Install("{5e1a7c02-0000-4000-8000-0000000000aa}", "9.0", INSTALLSTATE_ADVERTISED);
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    EXPECT_EQ(kCompareSame, package.GetInstallState());
}

TEST_F(MsiPackage, TheCustomTable)
{
    scripted.queries[kSetup + "SetupTypeName'"] = {{"Typical", "Typique"}, {"Second", "row"}};
    scripted.queries[kSetup + "FrenchOnly'"] = {{"", std::string(300, 'f')}};
    scripted.queries[kSetup + "Blank'"] = {{"", ""}};
    scripted.failingQueries.push_back(kSetup + "NoTable'");
    scripted.queries[kSetupInt + "InstallOnce'"] = {{"1"}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);

    std::string value;
    std::string french;
    EXPECT_TRUE(package.GetSetupProperty("SetupTypeName", value, french));
    EXPECT_EQ("Typical|Typique", value + "|" + french);
    EXPECT_TRUE(package.GetSetupProperty("FrenchOnly", value, french));
    EXPECT_EQ("|" + std::string(300, 'f'), value + "|" + french);
    EXPECT_FALSE(package.GetSetupProperty("Blank", value, french));
    EXPECT_FALSE(package.GetSetupProperty("NoTable", value, french));
    EXPECT_FALSE(package.GetSetupProperty("Absent", value, french));
    EXPECT_EQ("|", value + "|" + french);

    EXPECT_EQ(1, package.GetSetupPropertyInt("InstallOnce"));
    EXPECT_EQ(0, package.GetSetupPropertyInt("Absent"));
}

TEST_F(MsiPackage, MendedAnEmptyIntegerSettingReadsAsZero)
{
    scripted.queries[kSetupInt + "Empty'"] = {{""}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    // Not the engine's null marker, which callers would take for "set".
    EXPECT_EQ(0, package.GetSetupPropertyInt("Empty"));
}

TEST_F(MsiPackage, MendedAKeyWithAQuoteMatchesNothingInsteadOfRewritingTheQuery)
{
    const std::string key = "x' OR `Property` <> '";
    scripted.queries[kSetup + key + "'"] = {{"injected", ""}};
    scripted.queries[kProperty + key + "'"] = {{"injected"}};
    scripted.queries[kSetupInt + key + "'"] = {{"1"}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    std::string value;
    std::string french;
    EXPECT_FALSE(package.GetSetupProperty(key, value, french));
    EXPECT_EQ("", package.GetProperty(key, true, true));
    EXPECT_EQ(0, package.GetSetupPropertyInt(key));
    EXPECT_EQ(0, fake.CountCalls("MsiOpenDatabaseA"));
}

TEST_F(MsiPackage, WithoutAnEngineEverythingIsEmptyOrUnknown)
{
    Install(kPackageCode, "2.5.17");
    scripted.queries[kSetupInt + "Properties'"] = {{"A=1"}};
    CKWMsiPackage package(kPath, CKWMsiPackage::kKindInstaller);
    package.SetPropertyLine("B=2");
    fake.Unbind();

    EXPECT_FALSE(package.IsValidPackage());
    EXPECT_EQ("", package.GetProductCode() + package.GetPackageCode() + package.GetInstalledInfo("VersionString"));
    EXPECT_EQ(INSTALLSTATE_UNKNOWN, package.GetProductState(false));
    package.SetProductState(INSTALLSTATE_DEFAULT);
    EXPECT_EQ(INSTALLSTATE_DEFAULT, package.GetProductState(false));
    EXPECT_EQ(INSTALLSTATE_UNKNOWN, package.GetProductState(true));
    EXPECT_EQ(kCompareUnknown, package.CompareWithInstalled());
    EXPECT_EQ(0, package.GetSetupPropertyInt("InstallOnce"));
    EXPECT_EQ("2", package.GetProperty("B", true, true));
    EXPECT_EQ("B=2", package.GetPropertyLine());
}

TEST(MsiProduct, ReadsInstalledProductInformation)
{
    FakeMsi fake;
    fake.productInfo[kProduct] = {{"Version", "33882129"}, {"ProductName", std::string(300, 'p')}};
    CKWMsiProduct product(kProduct);
    std::string text;
    EXPECT_EQ(0u, product.GetInfo("ProductName", text));
    EXPECT_EQ(std::string(300, 'p'), text) << "read again beyond 260 characters";
    EXPECT_EQ(static_cast<UINT>(ERROR_UNKNOWN_PROPERTY), product.GetInfo("Missing", text));
    EXPECT_EQ("", text);
    EXPECT_EQ(0x02050011, product.GetVersion());
    EXPECT_EQ(1, product.IsInstalled());

    CKWMsiProduct other("{5E1A7C02-0000-4000-8000-000000000002}");
    EXPECT_EQ(0, other.GetVersion());
    EXPECT_EQ(0, other.IsInstalled());
    EXPECT_EQ(1605u, CKWMsiProduct("").GetInfo("ProductName", text));

    fake.Unbind();
    EXPECT_EQ(1601u, product.GetInfo("ProductName", text));
    EXPECT_EQ(-2, product.IsInstalled());
}
