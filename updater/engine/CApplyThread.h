#pragma once

#include "CKWInstallationData.h"
#include "CWorkerThread.h"

#include <string>
#include <utility>
#include <vector>

class CUpdateItem;

// Installs the downloaded updates one after the other, in the order of the
// installation data's selected list: patches and packages in-process through
// the engine, full packages from their self-extracting archive, executables
// and the updater's own patch as processes of their own. Every installed
// file leaves the cache; a complete run records its date. Without an owner
// window the thread posts nothing and shows no engine progress.
class CApplyThread : public CWorkerThread {
public:
    // Binds the engine: 0, or the Windows error. Tests put a scripted
    // engine in place of the library.
    using BindEngineFunction = UINT (*)();

    explicit CApplyThread(HWND owner = nullptr, CKWInstallationData& data = CKWInstallationData::GetInstance());
    ~CApplyThread() override;

    const char* GetThreadClassName() const override { return "CApplyThread"; }
    void SetBindEngine(BindEngineFunction bind) { m_bindEngine = bind; }
    // The program that installs the updater's own patch: the system's
    // msiexec.exe unless a test names a stand-in.
    void SetInstallerProgram(const std::string& program) { m_installerProgram = program; }

    // Deletes the files (not the sub-folders) of the folder, logging each;
    // with remove set, then the folder itself.
    static void ClearTmpFolder(const std::string& folder, bool remove);
    // Writes today's date as "DateLast" in the updater's state key.
    static void WriteDateLast();

protected:
    int DoWork() override;
    void OnInitThread() override;
    void OnExitThread() override;

private:
    int RunStep();
    int InstallNext();
    int InstallPackage(CUpdateItem& update);
    int InstallExecutable(CUpdateItem& update);
    int InstallFullPackage(CUpdateItem& update);
    int LaunchUpdaterPatch(CUpdateItem& update);
    void EnableMsiLog();
    std::string ExtractionFolder() const;

    void PostActionString(int stringId);
    void PostInterrupted(WPARAM stringId, LPARAM flags);

    int m_step = 0;
    int m_installedCount = 0;
    std::string m_workingFolder;
    std::string m_previousFolder;

    CKWInstallationData& m_data;
    BindEngineFunction m_bindEngine;
    std::string m_installerProgram;
    // The Windows error of the last cache check, reported when the run fails.
    DWORD m_lastCheckError = 0;
    // Set once the updater's own patch was handed to its process: the run
    // ends without any further message.
    bool m_handedOver = false;
    // The interruptions posted so far, so the final one is not repeated.
    std::vector<std::pair<WPARAM, LPARAM>> m_interruptions;
};
