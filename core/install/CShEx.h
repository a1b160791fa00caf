#pragma once

#include <windows.h>

#include <string>

// Starts a program from a command line through the shell, from the
// program's own folder.
class CShEx {
public:
    enum WaitMode { kNoWait = 0, kWaitForExit = 1, kWaitForIdle = 2 };

    CShEx(const std::string& commandLine, int waitMode);
    virtual ~CShEx() = default;

    // 0 when the program started, else the Windows error.
    UINT Launch();

    const std::string& GetFolder() const { return m_folder; }
    const std::string& GetFile() const { return m_file; }
    const std::string& GetParameters() const { return m_parameters; }
    // The exit code of a program waited for until it ended.
    DWORD GetExitCode() const { return m_exitCode; }

private:
    std::string m_folder;
    std::string m_file;
    std::string m_parameters;
    int m_waitMode;
    DWORD m_exitCode = 0;
};

// Starts a command line; 0 or the Windows error.
UINT RunCommandLine(const std::string& commandLine, int waitMode);
