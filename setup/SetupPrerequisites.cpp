#include "SetupPrerequisites.h"

#include "CIniFile.h"
#include "CKWLogFile.h"
#include "CResString.h"
#include "CSetupInstallationData.h"
#include "CStringTokenizer.h"
#include "ISetupWizard.h"
#include "PrerequisiteRegistry.h"
#include "SetupCore.h"

#include <vector>

namespace {

const UINT kRebootRequired = 3010;
const UINT kInstallFailure = 1603;
const UINT kPrerequisiteMissing = 2;

// The ids needed and not installed, by increasing id.
std::vector<int> NeededPrerequisites()
{
    std::vector<int> needed;
    for (IPrerequisite* prerequisite : RegisteredPrerequisites()) {
        std::string displayName = prerequisite->GetDisplayName();
        const char* name = displayName.c_str();
        LogMessage("Prerequisite \"%s\" listed", name);
        if (prerequisite->IsInstalled()) {
            LogMessage("Prerequisite \"%s\" already installed", name);
            continue;
        }
        LogMessage("Prerequisite \"%s\" not installed", name);
        if (prerequisite->IsNeeded()) {
            LogMessage("Prerequisite \"%s\" needed", name);
            needed.push_back(prerequisite->GetId());
        } else {
            LogMessage("Prerequisite \"%s\" not needed", name);
        }
    }
    return needed;
}

// Installing the newest of a kind covers the older versions listed with it.
std::vector<int> HighestOfEachKind(const std::vector<int>& ids)
{
    std::vector<int> kept;
    int lastKind = -1;
    for (int id : ids) {
        int kind = GetPrerequisite(id)->GetKind();
        if (!kept.empty() && kind == lastKind)
            kept.back() = id;
        else
            kept.push_back(id);
        lastKind = kind;
    }
    return kept;
}

UINT InstallPrerequisite(IPrerequisite& prerequisite, IInstallable& installer, ISetupWizard* wizard)
{
    if (wizard != nullptr) {
        wizard->SetStatusText(1, prerequisite.GetDisplayName());
        wizard->SetStatusText(2, CResString(203));
    }
    UINT result = installer.Execute();
    LogMessage("Prerequisite installable installed with return code %d", static_cast<int>(result));
    if (result == kRebootRequired) {
        GetSetupCore().rebootNeeded = true;
        result = 0;
    }
    if (result != 0)
        return result;
    return prerequisite.IsInstalled() ? 0 : kInstallFailure;
}

} // namespace

void ReadPrerequisiteLists(const CIniFile& ini, const std::string& section, IInstallable& installable,
                           CSetupInstallationData& data)
{
    std::string list = ini.GetString(section, "Prerequisites", std::string());
    CStringTokenizer names(list, ",");
    for (std::string name = names.NextToken(); !name.empty(); name = names.NextToken()) {
        int id = PrerequisiteFromName(name);
        bool listedBefore = FindPrerequisite(id) != nullptr;
        IPrerequisite* prerequisite = GetPrerequisite(id);
        if (prerequisite == nullptr)
            continue;
        // A prerequisite shared by several packages is needed as soon as any
        // of them is wanted; its section was read with the first one.
        prerequisite->AddDependent(&installable);
        installable.Prerequisites.push_back(prerequisite);
        if (listedBefore)
            continue;
        std::string file = ini.GetString(name, "ExecFile", std::string());
        prerequisite->SetSupportAddress(ini.GetString(name, "ProductSupportURL", std::string()));
        if (file.empty()) {
            LogMessage("No package specified for prerequisite %s", name.c_str());
            continue;
        }
        data.PrerequisiteInstallers.push_back(
            std::make_unique<CKWExePackage>(file, ini.GetString(name, "ExecParams", std::string())));
        CKWExePackage& installer = *data.PrerequisiteInstallers.back();
        prerequisite->SetOwner(&installer);
        ReadPrerequisiteLists(ini, name, installer, data);
    }
}

UINT ProcessPrerequisites(CSetupInstallationData& data, ISetupWizard* wizard)
{
    std::vector<int> needed = HighestOfEachKind(NeededPrerequisites());
    if (needed.empty())
        return 0;
    if (wizard != nullptr)
        wizard->SetProgressRange(kWizardOverallBar, 0, static_cast<int>(needed.size() + data.Packages.size()));
    for (int id : needed) {
        IPrerequisite* prerequisite = GetPrerequisite(id);
        if (prerequisite == nullptr) {
            LogMessage("List of requested prerequisites contains null value");
            return kInstallFailure;
        }
        if (prerequisite->IsInstalled())
            continue;
        IInstallable* installer = prerequisite->GetOwner();
        if (installer == nullptr) {
            data.missingPrerequisiteName = prerequisite->GetDisplayName();
            data.missingPrerequisiteAddress = prerequisite->GetSupportAddress();
            if (wizard != nullptr)
                wizard->SetState(kWizardMissingPrerequisite);
            return kPrerequisiteMissing;
        }
        UINT result = InstallPrerequisite(*prerequisite, *installer, wizard);
        if (result != 0)
            return result;
    }
    return 0;
}
