#include "ProductDescriptor.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

TEST(ProductMacros, ExpandKnownMacrosAndLeaveOtherBracesAlone)
{
    EXPECT_EQ("Melvaro 2012", ExpandMacros("Melvaro {THIS_YEAR}", "", 'C'));
    EXPECT_EQ("2012/2012", ExpandMacros("{THIS_YEAR}/{THIS_YEAR}", "", 'C'));
    EXPECT_EQ("About Orvane on E:", ExpandMacros("About {APP_NAME} on {DEFAULT_DRIVE}:", "Orvane", 'E'));
    EXPECT_EQ("{UNKNOWN} stays", ExpandMacros("{UNKNOWN} stays", "x", 'C'));
    EXPECT_EQ("unclosed {THIS_YEAR", ExpandMacros("unclosed {THIS_YEAR", "x", 'C'));
    EXPECT_EQ("{2012}", ExpandMacros("{{THIS_YEAR}}", "x", 'C'));
    EXPECT_EQ("trailing {", ExpandMacros("trailing {", "x", 'C'));
    EXPECT_EQ("", ExpandMacros("", "x", 'C'));
}

TEST(ProductMacros, InsertedTextIsScannedFromItsSecondCharacter)
{
    // An application name that itself holds a macro after its first
    // character has that macro expanded too.
    EXPECT_EQ("X2012", ExpandMacros("{APP_NAME}", "X{THIS_YEAR}", 'C'));
    EXPECT_EQ("{THIS_YEAR}", ExpandMacros("{APP_NAME}", "{THIS_YEAR}", 'C'));
}

TEST(ProductDescriptor, AppNameInsideItselfExpandsToNothing)
{
    ProductDescriptor d = MakeProductDescriptor('C');
    EXPECT_EQ("Melvaro 2012", d.AppName);
    EXPECT_EQ(d.AppName, d.AppTitle);
    EXPECT_EQ("Melvaro  2012", ExpandMacros("Melvaro {APP_NAME} {THIS_YEAR}", "", 'C'));
}

TEST(ProductDescriptor, FieldsInTheirOrderWithExpandedDefaults)
{
    ProductDescriptor d = MakeProductDescriptor('D');
    auto fields = d.Fields();
    ASSERT_EQ(26u, fields.size());
    EXPECT_STREQ("AppName", fields[0].name);
    EXPECT_EQ(&d.UpdaterCode, fields[18].value);
    EXPECT_EQ(&d.StatsURLValueName, fields[24].value);
    EXPECT_EQ(&d.CatalogKeys, fields[25].value);

    EXPECT_EQ("HKEY_LOCAL_MACHINE\\Software\\Zentrel\\Melvaro 2012\\Setup", d.SetupRegistryKey);
    EXPECT_EQ("\"[INSTALLDIR]melvaro.exe\"", d.MainProgramCommand);
    EXPECT_EQ("[INSTALLDIR]melvaro.exe", d.MainProgramPath);
    EXPECT_EQ("\"[INSTALLDIR]lisezmoi.txt\"", d.ReadmeEnglish);
    EXPECT_EQ(d.ReadmeEnglish, d.ReadmeFrench);
    EXPECT_EQ("", d.CompanionProductCode);
    EXPECT_EQ("Program path", d.InstallDirValueName);
    EXPECT_EQ("D:\\Program Files\\Melvaro 2012\\", d.DefaultInstallDir);
    EXPECT_EQ("HKEY_CURRENT_USER\\Software\\Zentrel\\Melvaro 2012\\Updates", d.UpdatesRegistryKey);
    EXPECT_EQ(d.UpdatesRegistryKey, d.StatsRegistryKey);
    EXPECT_EQ("qrzupdcat.xml", d.CatalogFileName);
    EXPECT_EQ("Software\\Zentrel\\Melvaro\\Updates", d.UpdatesStateKey);
    EXPECT_EQ("CatalogURL", d.CatalogURLValueName);
    EXPECT_EQ("StatsURL", d.StatsURLValueName);
    EXPECT_EQ(0u, d.DefaultCatalogURL.find("http://"));
    EXPECT_NE(std::string::npos, d.DefaultCatalogURL.rfind("/scripts/qrzupd.asp"));
    EXPECT_NE(std::string::npos, d.DefaultStatsURL.rfind("/scripts/qrzdownloads.asp"));
    for (size_t i : {10u, 11u, 12u})
        EXPECT_EQ("", *fields[i].value) << "reserved field " << i + 1;
}

TEST(ProductDescriptor, ProductCodesAreBracedGuidsAndCopiesAgree)
{
    ProductDescriptor d = MakeProductDescriptor('C');
    const std::regex guid(R"(\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\})");
    EXPECT_TRUE(std::regex_match(d.MainUpgradeCode, guid)) << d.MainUpgradeCode;
    EXPECT_TRUE(std::regex_match(d.UpdaterCode, guid)) << d.UpdaterCode;
    EXPECT_NE(d.MainUpgradeCode, d.UpdaterCode);
    EXPECT_EQ(d.MainUpgradeCode, d.MainUpgradeCodeCopy1);
    EXPECT_EQ(d.MainUpgradeCode, d.MainUpgradeCodeCopy2);
}

TEST(ProductDescriptor, ProcessDescriptorUsesTheSystemDrive)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    const ProductDescriptor& d = GetProductDescriptor();
    EXPECT_EQ(system[0], d.DefaultInstallDir[0]);
    EXPECT_EQ("Melvaro 2012 2012", ExpandProductMacros("{APP_NAME} {THIS_YEAR}"));
}
