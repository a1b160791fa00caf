#pragma once

#include "IInstallable.h"

#include <string>

// An executable installer (a prerequisite's redistributable, a vendor tool)
// started and awaited; its exit code is the result.
class CKWExePackage : public IInstallable {
public:
    // Environment references in both texts are expanded, and the path made
    // absolute.
    CKWExePackage(const std::string& path, const std::string& parameters);

    UINT Execute() override;
    // Answered through the prerequisite this executable installs.
    int GetInstallState() override;
    bool IsWanted() override;

    const std::string& GetPath() const { return m_path; }
    const std::string& GetParameters() const { return m_parameters; }

private:
    std::string m_path;
    std::string m_parameters;
};
