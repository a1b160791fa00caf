#pragma once

#include "CKWExePackage.h"
#include "CKWMsiPackage.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class ISetupWizard;
struct ProductDescriptor;

// What setup works out about the machine before the wizard opens, and the
// choices the wizard collects: the packages of setup.ini, the setup mode,
// the destination folder and the options of the last pages.
class CSetupInstallationData {
public:
    CSetupInstallationData() = default;
    // The prerequisites registered for the packages refer to them, so they
    // are cleared with the packages.
    ~CSetupInstallationData();
    CSetupInstallationData(const CSetupInstallationData&) = delete;
    CSetupInstallationData& operator=(const CSetupInstallationData&) = delete;

    // 1 installation, 2 maintenance, 3 patches only. Every installation
    // package whose product is not fully installed is marked to be
    // installed. 1603 when the engine is not bound, else 0.
    UINT DetectSetupMode(const ProductDescriptor& product, ISetupWizard* wizard);

    // The installed folder from the setup registry key, else the product's
    // default folder; stored and handed to the wizard.
    void DetermineDestinationFolder(const ProductDescriptor& product, ISetupWizard* wizard);

    // Display names from the packages' "SetupTypeName", and whether the
    // desktop shortcut is offered (only with a wizard to offer it).
    void GatherMiscInfo(const ProductDescriptor& product, bool wizardExists);

    // A new folder (not empty, not equal ignoring case) becomes the
    // destination and every installation package's INSTALLDIR. False when
    // nothing changed.
    bool ChangeDestinationFolder(const std::string& folder);

    // Sets CREATEDESKTOPSHORTCUT on the companion product's package from the
    // user's choice, when the choice was offered.
    void ApplyShortcutProperty(const ProductDescriptor& product, CKWMsiPackage& package) const;

    // In setup.ini order; each is a CKWMsiInstaller or a CKWMsiPatch.
    std::vector<std::unique_ptr<CKWMsiPackage>> Packages;
    // The programs that install prerequisites; the prerequisites point to them.
    std::vector<std::unique_ptr<CKWExePackage>> PrerequisiteInstallers;

    int SetupMode = 1;
    // Ends with "\" once determined.
    std::string DestinationFolder;

    bool readmeAvailable = false;
    bool shortcutOfferable = false;
    bool shortcutWanted = false;
    bool launchWanted = false;
    bool readmeWanted = false;
    bool mainProductMissing = false;

    // The prerequisite that is missing and has no installer, for the
    // missing-prerequisite page.
    std::string missingPrerequisiteName;
    std::string missingPrerequisiteAddress;

private:
    // The first installation package of the upgrade code; null when none.
    CKWMsiPackage* FindInstallationPackage(const std::string& upgradeCode) const;
};
