#pragma once

#include <windows.h>

#include <string>

class CIniFile;
class CSetupInstallationData;
class IInstallable;
class ISetupWizard;

// Registers the prerequisites listed in the section's "Prerequisites" for the
// installable, reading the section of each one listed for the first time:
// its installer (ExecFile, ExecParams, kept in the data), support address
// and, for the installer, its own prerequisites.
void ReadPrerequisiteLists(const CIniFile& ini, const std::string& section, IInstallable& installable,
                           CSetupInstallationData& data);

// Installs the needed prerequisites that are missing, the highest of each
// kind only. 0 when everything needed is present; 2 when one is missing
// without an installer (the wizard then shows it); 1603 when an installer
// ran but its prerequisite is still missing; else an installer's result. A
// restart an installer asks for is noted in the engine core.
UINT ProcessPrerequisites(CSetupInstallationData& data, ISetupWizard* wizard);
