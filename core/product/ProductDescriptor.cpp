#include "ProductDescriptor.h"

#include <windows.h>

namespace {

// The product's identity. The two ProductCodes never change across versions:
// updates are patches and minor upgrades of the same products.
const char kMainProductCode[] = "{6E2C1F3A-8B4D-4C7E-9A51-3D0F2B7C4E91}";
const char kUpdaterProductCode[] = "{A9D47B20-5C3E-4F18-B6E2-71C8D90F3A5B}";
const char kVendorScriptsUrl[] = "http://support.zentrel.com/melvaro/scripts/";

const int kThisYear = 2012;

// Set by the build (CMake cache variable KW_CATALOG_KEYS).
#ifndef KW_CATALOG_KEYS
#define KW_CATALOG_KEYS ""
#endif

} // namespace

std::string ExpandMacros(const std::string& text, const std::string& appName, char defaultDrive)
{
    const std::pair<std::string, std::string> macros[] = {
        {"{THIS_YEAR}", std::to_string(kThisYear)},
        {"{APP_NAME}", appName},
        {"{DEFAULT_DRIVE}", std::string(1, defaultDrive)},
    };
    std::string result = text;
    size_t position = result.find('{');
    while (position != std::string::npos) {
        for (const auto& macro : macros) {
            if (result.compare(position, macro.first.size(), macro.first) == 0) {
                result.replace(position, macro.first.size(), macro.second);
                break;
            }
        }
        // Scanning resumes one character on, so a replacement that inserted
        // a "{" in its first character is not expanded again.
        position = result.find('{', position + 1);
    }
    return result;
}

char GetSystemDriveLetter()
{
    char folder[MAX_PATH] = "";
    UINT length = GetSystemDirectoryA(folder, sizeof folder);
    return length > 0 && length < sizeof folder ? folder[0] : 'C';
}

std::string ExpandProductMacros(const std::string& text)
{
    return ExpandMacros(text, GetProductDescriptor().AppName, GetSystemDriveLetter());
}

ProductDescriptor MakeProductDescriptor(char defaultDrive)
{
    ProductDescriptor d;
    d.AppName = ExpandMacros("Melvaro {THIS_YEAR}", std::string(), defaultDrive);
    d.AppTitle = d.AppName;
    d.MainUpgradeCode = kMainProductCode;
    d.SetupRegistryKey =
        ExpandMacros("HKEY_LOCAL_MACHINE\\Software\\Zentrel\\Melvaro {THIS_YEAR}\\Setup", d.AppName, defaultDrive);
    d.MainProgramCommand = "\"[INSTALLDIR]melvaro.exe\"";
    d.MainProgramPath = "[INSTALLDIR]melvaro.exe";
    d.ReadmeEnglish = "\"[INSTALLDIR]lisezmoi.txt\"";
    d.ReadmeFrench = "\"[INSTALLDIR]lisezmoi.txt\"";
    d.MainUpgradeCodeCopy1 = kMainProductCode;
    d.InstallDirValueName = "Program path";
    d.DefaultInstallDir =
        ExpandMacros("{DEFAULT_DRIVE}:\\Program Files\\Melvaro {THIS_YEAR}\\", d.AppName, defaultDrive);
    d.DefaultCatalogURL = std::string(kVendorScriptsUrl) + "qrzupd.asp";
    d.UpdatesRegistryKey =
        ExpandMacros("HKEY_CURRENT_USER\\Software\\Zentrel\\Melvaro {THIS_YEAR}\\Updates", d.AppName, defaultDrive);
    d.CatalogFileName = "qrzupdcat.xml";
    d.UpdaterCode = kUpdaterProductCode;
    d.UpdatesStateKey = "Software\\Zentrel\\Melvaro\\Updates";
    d.MainUpgradeCodeCopy2 = kMainProductCode;
    d.CatalogURLValueName = "CatalogURL";
    d.DefaultStatsURL = std::string(kVendorScriptsUrl) + "qrzdownloads.asp";
    d.StatsRegistryKey = d.UpdatesRegistryKey;
    d.StatsURLValueName = "StatsURL";
    d.CatalogKeys = KW_CATALOG_KEYS;
    return d;
}

const ProductDescriptor& GetProductDescriptor()
{
    static const ProductDescriptor descriptor = MakeProductDescriptor(GetSystemDriveLetter());
    return descriptor;
}

std::array<ProductDescriptor::Field, ProductDescriptor::kFieldCount> ProductDescriptor::Fields() const
{
    return {{
        {"AppName", &AppName},
        {"AppTitle", &AppTitle},
        {"MainUpgradeCode", &MainUpgradeCode},
        {"SetupRegistryKey", &SetupRegistryKey},
        {"MainProgramCommand", &MainProgramCommand},
        {"MainProgramPath", &MainProgramPath},
        {"ReadmeEnglish", &ReadmeEnglish},
        {"ReadmeFrench", &ReadmeFrench},
        {"CompanionProductCode", &CompanionProductCode},
        {"MainUpgradeCodeCopy1", &MainUpgradeCodeCopy1},
        {"Reserved11", &Reserved11},
        {"Reserved12", &Reserved12},
        {"Reserved13", &Reserved13},
        {"InstallDirValueName", &InstallDirValueName},
        {"DefaultInstallDir", &DefaultInstallDir},
        {"DefaultCatalogURL", &DefaultCatalogURL},
        {"UpdatesRegistryKey", &UpdatesRegistryKey},
        {"CatalogFileName", &CatalogFileName},
        {"UpdaterCode", &UpdaterCode},
        {"UpdatesStateKey", &UpdatesStateKey},
        {"MainUpgradeCodeCopy2", &MainUpgradeCodeCopy2},
        {"CatalogURLValueName", &CatalogURLValueName},
        {"DefaultStatsURL", &DefaultStatsURL},
        {"StatsRegistryKey", &StatsRegistryKey},
        {"StatsURLValueName", &StatsURLValueName},
        {"CatalogKeys", &CatalogKeys},
    }};
}
