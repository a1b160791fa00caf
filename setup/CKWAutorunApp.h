#pragma once

#include "CIniFile.h"
#include "CWinApplication.h"

#include <windows.h>

#include <memory>
#include <string>

class CSetupInstallationData;
class CSetupUI;
class CSplashWaitMiniDlg;

// The setup program: the start hook reads setup.ini and the command line,
// makes the engine ready while a wait dialog shows, runs the wizard and then
// what the user asked for at its end. It always ends the program.
class CKWAutorunApp : public CWinApplication {
public:
    CKWAutorunApp();
    ~CKWAutorunApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    // The start-up steps up to the wizard; false when setup must end.
    bool StartUp();
    bool CheckCommandLine();
    bool CheckEngineAndBrowser();
    bool ChooseLanguage();
    bool Prepare();
    void RunWizard();
    // Where the engine logs when logging was asked for; empty otherwise.
    std::string EngineLogPath() const;
    void ShowUsage();
    int Box(const std::string& text, UINT type) const;
    // The installation work the wizard asks for, and the traces of the
    // engine core; true when the message was one of them.
    bool OnThreadMessage(const MSG& message);

    CIniFile m_ini;
    std::string m_title;
    std::string m_logPath;
    bool m_loggingRequested = false;
    bool m_languageGiven = false;
    std::unique_ptr<CSetupInstallationData> m_data;
    std::unique_ptr<CSetupUI> m_wizard;
    std::unique_ptr<CSplashWaitMiniDlg> m_waitDialog;
};
