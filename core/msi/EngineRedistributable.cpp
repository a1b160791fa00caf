#include "EngineRedistributable.h"

#include "EngineMessage.h"
#include "KwHandle.h"
#include "ReadFileVersion.h"
#include "SystemMessage.h"
#include "TraceMessage.h"
#include "WaitPumping.h"

#include <new>
#include <vector>

namespace {

UINT MakeFullPath(const std::string& path, std::string& fullPath)
{
    DWORD size = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return LastErrorCode();
    std::vector<char> buffer(size);
    DWORD length = GetFullPathNameA(path.c_str(), size, buffer.data(), nullptr);
    if (length == 0 || length >= size)
        return length == 0 ? LastErrorCode() : ERROR_FILENAME_EXCED_RANGE;
    fullPath.assign(buffer.data(), length);
    return ERROR_SUCCESS;
}

} // namespace

UINT ResolveRedistributable(const std::string& programPath, const std::string& relativePath, unsigned minimum)
{
    try {
        std::string path = programPath.substr(0, programPath.find_last_of('\\') + 1) + relativePath;
        std::string fullPath;
        UINT result = MakeFullPath(path, fullPath);
        if (result != ERROR_SUCCESS) {
            ShowEngineMessageWithPath(kMsgInvalidPath, path);
            return result;
        }
        if (GetFileAttributesA(fullPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
            ShowEngineMessageWithPath(kMsgRedistributableMissing, fullPath);
            return ERROR_FILE_NOT_FOUND;
        }
        return ExecuteUpgradeMsi(fullPath, minimum);
    } catch (const std::bad_alloc&) {
        ShowEngineMessage(kMsgOutOfMemory);
        return ERROR_OUTOFMEMORY;
    }
}

UINT ExecuteUpgradeMsi(const std::string& path, unsigned minimum)
{
    if (!IsRedistributableVersionOk(path, minimum)) {
        ShowEngineMessageWithPath(kMsgRedistributableInvalid, path);
        return ERROR_INVALID_PARAMETER;
    }
    UINT result = RunRedistributable(path, minimum);
    TraceMessage("ExecuteUpgradeMsi return code: %d\n", static_cast<int>(result));
    switch (result) {
    case ERROR_SUCCESS:
    case ERROR_SUCCESS_REBOOT_INITIATED:
    case ERROR_SUCCESS_REBOOT_REQUIRED:
        break;
    case ERROR_FILE_NOT_FOUND:
        ShowEngineMessageWithPath(kMsgRedistributableMissing, path);
        break;
    case ERROR_INSTALL_USEREXIT:
        ShowEngineMessage(kMsgSetupCancelled);
        break;
    default:
        ShowEngineMessage(kMsgUpgradeFailed);
        break;
    }
    return result;
}

bool IsRedistributableVersionOk(const std::string& path, unsigned minimum)
{
    FileVersion version;
    if (!ReadFileVersion(path, version)) {
        TraceMessage("[Info] Can't obtain version information for instmsi; assuming it is not the proper version\n");
        return false;
    }
    // Compared with its sign: a file below version 10 is no redistributable,
    // though as an unsigned number its version would wrap round and pass.
    int redistributableVersion = (version.major - 10) * 100 + version.minor;
    if (redistributableVersion < 0 || static_cast<unsigned>(redistributableVersion) < minimum) {
        TraceMessage("[Info] InstMsi is improper version for upgrade. InstMsi Version = %d, Minimum Version = %d.\n",
                     redistributableVersion, static_cast<int>(minimum));
        return false;
    }
    return true;
}

UINT RunRedistributable(const std::string& path, unsigned minimum)
{
    try {
        TraceMessage("[Info] Running instmsi from --> %s\n", path.c_str());
        std::string commandLine = "\"" + path + "\"";
        commandLine += minimum == kEngineVersion301 ? " /quiet /norestart" : " /c:\"msiinst /delayreboot\"";
        std::vector<char> writableCommandLine(commandLine.begin(), commandLine.end());
        writableCommandLine.push_back('\0');

        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION started = {};
        if (!CreateProcessA(nullptr, writableCommandLine.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                            nullptr, nullptr, &startup, &started))
            return LastErrorCode();
        KwHandle process(started.hProcess);
        KwHandle thread(started.hThread);

        UINT result = WaitPumping(process.Get());
        if (result != ERROR_SUCCESS)
            return result;
        DWORD exitCode = 0;
        if (!GetExitCodeProcess(process.Get(), &exitCode))
            return LastErrorCode();
        return exitCode;
    } catch (const std::bad_alloc&) {
        return ERROR_OUTOFMEMORY;
    }
}
