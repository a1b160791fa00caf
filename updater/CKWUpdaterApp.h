#pragma once

#include "CWinApplication.h"
#include "KwHandle.h"

#include <cstdint>
#include <string>

class CWorkerThread;
class IUpdaterWindows;

// The updater program: everything happens in the start hook, which checks
// the catalog, chooses the run (interactive, minimal window or silent) and
// always ends the program.
class CKWUpdaterApp : public CWinApplication {
public:
    enum ModeBits : uint32_t {
        kModeAuto = 0x1,
        kModeSilent = 0x2,
        kModeInteractive = 0x1C,
        kModeMinimal = 0x20,
    };

    // The windows come from outside so the application runs without them.
    explicit CKWUpdaterApp(IUpdaterWindows* windows);
    ~CKWUpdaterApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    bool ReadParameters();
    void ShowUsage();
    const std::string& GetInstallFolder();
    const std::string& GetWorkingFolder();
    bool CheckUpdaterVersion();
    // True when another copy holds the lock.
    bool AcquireSingleInstance();
    bool CheckForUpdates();
    bool DownloadSilently();
    bool InstallSilently();
    void LaunchMainApplication();

    uint32_t GetMode() const { return m_mode; }
    bool GetLogAppend() const { return m_logAppend; }

    // The name of the lock that keeps a second copy from running.
    static std::string SingleInstanceName();

private:
    // Starts a worker without a window and waits for its end; true when it
    // ended with 0.
    bool RunWithoutWindow(CWorkerThread& worker);
    // True when the option was understood and its value acceptable.
    bool ReadOption(const std::string& name, bool hasValue, const std::string& value, bool& sawLanguageOrLog);
    void OpenLog();
    void EndStartup();
    int Box(const std::string& text, UINT type);
    int BoxFormatted(int stringId, UINT type, const std::string& argument);

    IUpdaterWindows* m_windows;
    std::string m_installFolder;
    bool m_installFolderRead = false;
    std::string m_workingFolder;
    bool m_workingFolderRead = false;
    bool m_logAppend = false;
    uint32_t m_mode = 0;
    KwHandle m_instanceLock;
    bool m_comInitialised = false;
    std::string m_logPath;
    int m_ownVersion = 0;
};
