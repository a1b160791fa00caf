#include "CKWExePackage.h"

#include "CKWMsiDll.h"
#include "ExpandEnvironment.h"
#include "KwHandle.h"
#include "MakeFullPath.h"
#include "PrerequisiteRegistry.h"
#include "SetupCore.h"
#include "TraceMessage.h"

#include <shellapi.h>

CKWExePackage::CKWExePackage(const std::string& path, const std::string& parameters)
    : m_path(path), m_parameters(parameters)
{
    if (m_path.empty())
        return;
    ExpandEnvironment(m_path);
    ExpandEnvironment(m_parameters);
    MakeFullPath(m_path);
}

int CKWExePackage::GetInstallState()
{
    return InstallStateThroughPrerequisite(this);
}

bool CKWExePackage::IsWanted()
{
    return IsWantedThroughPrerequisite(this);
}

UINT CKWExePackage::Execute()
{
    if (m_path.empty()) {
        TraceMessage("Exe package (%s), none specified\n", m_path.c_str());
        return ERROR_FILE_NOT_FOUND;
    }
    if (GetFileAttributesA(m_path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        TraceMessage("Exe package (%s), not found\n", m_path.c_str());
        return ERROR_FILE_NOT_FOUND;
    }
    // The executable may replace the engine itself; the caller binds it again.
    g_msi.Unload();

    std::string file = m_path;
    if (file.find(' ') != std::string::npos && file.front() != '"')
        file = "\"" + file + "\"";
    TraceMessage("ShellExecuteEx(%s %s)", file.c_str(), m_parameters.c_str());

    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = file.c_str();
    info.lpParameters = m_parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info) || info.hProcess == nullptr) {
        DWORD error = GetLastError();
        TraceMessage("ShellExecuteEx: Error %d", static_cast<int>(error));
        return error;
    }
    KwHandle process(info.hProcess);
    WaitForSingleObject(process.Get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.Get(), &exitCode);
    if (exitCode != STILL_ACTIVE)
        TraceMessage("ShellExecuteEx: Success, exit code: %d\n", static_cast<int>(exitCode));
    if (exitCode == ERROR_SUCCESS_REBOOT_REQUIRED) {
        GetSetupCore().rebootNeeded = true;
        return ERROR_SUCCESS;
    }
    return exitCode;
}
