#include "SetupLog.h"

#include "CKWLogFile.h"
#include "OsInfo.h"
#include "ReadFileVersion.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

std::string ProgramPath()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(path, length);
}

// "SETUP.EXE" for ...\setup.exe, whatever the file's own extension.
std::string UpperProgramName(const std::string& programPath)
{
    std::string name = programPath.substr(programPath.find_last_of("\\/") + 1);
    name = name.substr(0, name.rfind('.'));
    CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
    return name + ".EXE";
}

} // namespace

std::string DefaultSetupLogPath()
{
    char folder[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof folder, folder);
    std::string path = length == 0 || length > MAX_PATH ? std::string() : std::string(folder, length);
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return path + "KW#SETUP.txt";
}

std::string StartSetupLog(const std::string& givenPath, const std::string& appTitle)
{
    if (g_logFile != nullptr)
        return g_logFile->GetPath();
    std::string path = givenPath;
    if (path.empty()) {
        path = DefaultSetupLogPath();
        RotateToBackup(path);
    }
    try {
        g_logFile = new CKWLogFile(path, true);
    } catch (const std::exception&) {
        return std::string();
    }
    std::string program = ProgramPath();
    FileVersion version;
    ReadFileVersionRecord(program, version);
    char versionText[32];
    std::snprintf(versionText, sizeof versionText, "%d.%.2d.%.4d", version.major, version.minor, version.build);
    LogMessage("===== Starting %s v.%s [%s] =====", UpperProgramName(program).c_str(), versionText, appTitle.c_str());
    LogMessage("Running on %s", GetOsDescription().c_str());
    return path;
}

void EndSetupLog(const std::string& appTitle)
{
    LogMessage("===== Ending %s [%s] =====", UpperProgramName(ProgramPath()).c_str(), appTitle.c_str());
    delete g_logFile;
    g_logFile = nullptr;
}
