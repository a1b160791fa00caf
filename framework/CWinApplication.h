#pragma once

#include <windows.h>

#include <string>

// A dialog program's application object: the start hook does the program's
// work and returns false to end it; the exit hook cleans up and gives the
// process's exit code.
class CWinApplication {
public:
    CWinApplication() = default;
    virtual ~CWinApplication() = default;
    CWinApplication(const CWinApplication&) = delete;
    CWinApplication& operator=(const CWinApplication&) = delete;

    // Runs the start hook, a message loop while it asked for one, then the
    // exit hook.
    int Run(HINSTANCE instance, const std::string& commandLine);

    virtual BOOL InitInstance() = 0;
    virtual int ExitInstance() { return m_exitCode; }

    HINSTANCE GetInstance() const { return m_instance; }
    // The arguments without the program's name.
    const std::string& GetCommandLineText() const { return m_commandLine; }
    // The title in the program's string resource 0xE000, or the program's
    // file name without extension when it has none.
    const std::string& GetAppName() const { return m_appName; }
    // The program's full path.
    const std::string& GetExePath() const { return m_exePath; }

    // Takes the module's path and title and the arguments; Run does it first.
    void Attach(HINSTANCE instance, const std::string& commandLine);

protected:
    int m_exitCode = 0;

private:
    HINSTANCE m_instance = nullptr;
    std::string m_commandLine;
    std::string m_appName;
    std::string m_exePath;
};

// The arguments of a full command line: what follows the program's name,
// quoted or not, without the spaces in between.
std::string ArgumentsOfCommandLine(const std::string& commandLine);
