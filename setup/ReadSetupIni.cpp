#include "ReadSetupIni.h"

#include "CIniFile.h"
#include "CKWLogFile.h"
#include "CKWMsiInstaller.h"
#include "CKWMsiPatch.h"
#include "CSetupInstallationData.h"
#include "InterfaceLanguage.h"
#include "SetupCore.h"
#include "SetupFlags.h"
#include "SetupPrerequisites.h"

namespace {

const int kLastPackageSection = 32766;

struct CoreParameter {
    const char* key;
    const char* defaultValue;
    int id;
};

const CoreParameter kCoreParameters[] = {
    {"BASEURL", "", kCorePropertyBaseUrl},
    {"MINIMUM_MSI", "150", kCorePropertyMinimumMsi},
    {"INSTLOCATION", "", kCorePropertySkipRedistributable},
    {"INSTMSIA", ".\\InstMsiA.exe", kCorePropertyRedistributable9x},
    {"INSTMSIW", ".\\InstMsiW.exe", kCorePropertyRedistributableNT},
    {"INSTMSI301", ".\\WindowsInstaller-KB893803-v2-x86.exe", kCorePropertyRedistributable301},
};

std::string PackageSection(int number)
{
    return "Package" + std::to_string(number);
}

// The installable of a section; null when the section names no file.
std::unique_ptr<CKWMsiPackage> CreatePackage(const CIniFile& ini, const std::string& section)
{
    std::string database = ini.GetString(section, "Database", std::string());
    if (!database.empty()) {
        auto installer = std::make_unique<CKWMsiInstaller>(database);
        installer->Operation = ini.GetString(section, "Operation", "INSTALL");
        installer->SetTransform(kLanguageEnglish, ini.GetString(section, "1033", std::string()));
        installer->SetTransform(kLanguageFrench, ini.GetString(section, "3084", std::string()));
        return installer;
    }
    std::string patchFile = ini.GetString(section, "Patch", std::string());
    if (patchFile.empty())
        return nullptr;
    auto patch = std::make_unique<CKWMsiPatch>(patchFile);
    patch->Operation = ini.GetString(section, "Operation", "MINPATCH");
    return patch;
}

bool HasPackageFile(const CIniFile& ini, const std::string& section)
{
    return !ini.GetString(section, "Database", std::string()).empty() ||
           !ini.GetString(section, "Patch", std::string()).empty();
}

} // namespace

void ReadSetupProperties(const CIniFile& ini)
{
    for (const CoreParameter& parameter : kCoreParameters) {
        std::string value = ini.GetString("Properties", parameter.key, parameter.defaultValue);
        LogMessage("Value for %s is %s", parameter.key, value.c_str());
        GetSetupCore().CoreProperties[parameter.id] = value;
    }
}

int CountSetupPackages(const CIniFile& ini)
{
    int count = 0;
    while (count < kLastPackageSection && HasPackageFile(ini, PackageSection(count + 1)))
        ++count;
    return count;
}

bool ReadSetupPackages(const CIniFile& ini, CSetupInstallationData& data)
{
    for (int number = 1; number <= kLastPackageSection && !g_cancelRequested; ++number) {
        std::string section = PackageSection(number);
        std::unique_ptr<CKWMsiPackage> package = CreatePackage(ini, section);
        if (!package)
            break;
        package->DisplayName = ini.GetString(section, "Name", "Pelmarin");
        package->SetPropertyLine(ini.GetString(section, "Properties", std::string()));
        ReadPrerequisiteLists(ini, section, *package, data);
        data.Packages.push_back(std::move(package));
    }
    return !g_cancelRequested;
}
