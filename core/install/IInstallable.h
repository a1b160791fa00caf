#pragma once

#include <windows.h>

#include <vector>

class IPrerequisite;

// Something the programs install: an installer package, a patch or an
// executable.
class IInstallable {
public:
    virtual ~IInstallable() = default;
    // Performs the installable's operation; a Windows result code.
    virtual UINT Execute() = 0;
    // For packages, CompareWithInstalled.
    virtual int GetInstallState() = 0;
    // Whether the installable is to be installed.
    virtual bool IsWanted() = 0;

    // The prerequisites this installable requires; they live in the
    // process-wide prerequisite registry.
    std::vector<IPrerequisite*> Prerequisites;
};
