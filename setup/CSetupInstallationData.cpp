#include "CSetupInstallationData.h"

#include "CKWMsiDll.h"
#include "ISetupWizard.h"
#include "InterfaceLanguage.h"
#include "PrerequisiteRegistry.h"
#include "ProductDescriptor.h"
#include "RegistrySetting.h"

namespace {

// The engine's INSTALLSTATE_DEFAULT: the product is fully installed.
const int kProductInstalled = 5;

bool IsInstallationPackage(const CKWMsiPackage& package)
{
    return package.Kind == CKWMsiPackage::kKindInstaller;
}

bool IsPresent(int installState)
{
    return installState != kCompareNotInstalled && installState != kCompareUnknown;
}

} // namespace

CSetupInstallationData::~CSetupInstallationData()
{
    ClearPrerequisites();
}

UINT CSetupInstallationData::DetectSetupMode(const ProductDescriptor& product, ISetupWizard* wizard)
{
    if (!g_msi.IsBound())
        return 1603;
    // Without a wanted state the installation would skip an absent product.
    for (const auto& package : Packages) {
        if (IsInstallationPackage(*package) && package->GetProductState(true) != kProductInstalled)
            package->SetProductState(kProductInstalled);
    }
    int mode = 2;
    int toInstall = 0;
    int patches = 0;
    for (const auto& package : Packages) {
        if (!IsInstallationPackage(*package)) {
            ++patches;
            continue;
        }
        int state = package->GetInstallState();
        if (package->GetUpgradeCode() == product.MainUpgradeCode)
            mainProductMissing = state == kCompareNotInstalled;
        if (package->GetSetupPropertyInt("InstallOnce") == 1 && IsPresent(state))
            continue;
        ++toInstall;
        if (state == kCompareNotInstalled || state == kCompareNewer) {
            mode = 1;
            break;
        }
    }
    if (patches > 0 && toInstall == 0)
        mode = 3;
    readmeAvailable = !(g_language == kLanguageFrench ? product.ReadmeFrench : product.ReadmeEnglish).empty();
    SetupMode = mode;
    if (wizard != nullptr)
        wizard->SetState(mode);
    return 0;
}

void CSetupInstallationData::DetermineDestinationFolder(const ProductDescriptor& product, ISetupWizard* wizard)
{
    std::string folder;
    if (product.SetupRegistryKey.find('\\') != std::string::npos)
        folder = ReadRegistrySetting(product.SetupRegistryKey, product.InstallDirValueName,
                                     ExpandProductMacros(product.DefaultInstallDir));
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    DestinationFolder = folder;
    if (wizard != nullptr)
        wizard->SetDestinationFolder(folder);
}

void CSetupInstallationData::GatherMiscInfo(const ProductDescriptor& product, bool wizardExists)
{
    for (const auto& package : Packages) {
        if (!IsInstallationPackage(*package))
            continue;
        std::string english, french;
        if (package->GetSetupProperty("SetupTypeName", english, french))
            package->DisplayName = g_language == kLanguageFrench ? french : english;
    }
    shortcutWanted = false;
    shortcutOfferable = false;
    if (!product.CompanionProductCode.empty() && FindInstallationPackage(product.CompanionProductCode) != nullptr) {
        shortcutOfferable = wizardExists;
        shortcutWanted = true;
    }
}

bool CSetupInstallationData::ChangeDestinationFolder(const std::string& folder)
{
    if (folder.empty() || lstrcmpiA(folder.c_str(), DestinationFolder.c_str()) == 0)
        return false;
    DestinationFolder = folder;
    for (const auto& package : Packages) {
        if (IsInstallationPackage(*package))
            package->SetProperty("INSTALLDIR", folder);
    }
    return true;
}

void CSetupInstallationData::ApplyShortcutProperty(const ProductDescriptor& product, CKWMsiPackage& package) const
{
    if (!shortcutOfferable || product.CompanionProductCode.empty())
        return;
    if (FindInstallationPackage(product.CompanionProductCode) == &package)
        package.SetProperty("CREATEDESKTOPSHORTCUT", shortcutWanted ? "1" : "0");
}

CKWMsiPackage* CSetupInstallationData::FindInstallationPackage(const std::string& upgradeCode) const
{
    for (const auto& package : Packages) {
        if (IsInstallationPackage(*package) && package->GetUpgradeCode() == upgradeCode)
            return package.get();
    }
    return nullptr;
}
