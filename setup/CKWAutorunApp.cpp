#include "CKWAutorunApp.h"

#include "CKWLogFile.h"
#include "CKWMsiDll.h"
#include "CLanguageDlg.h"
#include "CResString.h"
#include "CSetupInstallationData.h"
#include "CSetupUI.h"
#include "CSplashWaitMiniDlg.h"
#include "DefaultSetupLanguage.h"
#include "HeapText.h"
#include "InitializeSetupCore.h"
#include "InterfaceLanguage.h"
#include "MinimumBrowser.h"
#include "OsInfo.h"
#include "PostInstallLaunches.h"
#include "PrepareInstallation.h"
#include "PrerequisiteRegistry.h"
#include "ProductDescriptor.h"
#include "ReadSetupIni.h"
#include "RebootSystem.h"
#include "RegisteredMessages.h"
#include "SetupCommandLine.h"
#include "SetupCore.h"
#include "SetupFlags.h"
#include "SetupLog.h"
#include "SetupOperations.h"
#include "TraceMessage.h"

#include <fstream>

namespace {

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

const char kEngineLogName[] = "KW#MSI.TXT";

} // namespace

CKWAutorunApp::CKWAutorunApp() = default;

CKWAutorunApp::~CKWAutorunApp() = default;

BOOL CKWAutorunApp::InitInstance()
{
    if (StartUp())
        RunWizard();
    return FALSE;
}

bool CKWAutorunApp::StartUp()
{
    SetCurrentDirectoryA(FolderOf(GetExePath()).c_str());
    m_ini.SetFile(".\\setup.ini");
    g_language = DefaultSetupLanguage();
    m_title = GetAppName();
    if (!std::ifstream(".\\setup.ini").is_open()) {
        Box(CResString(204), MB_OK | MB_ICONERROR);
        return false;
    }
    const ProductDescriptor& product = GetProductDescriptor();
    if (!product.AppTitle.empty())
        m_title = product.AppTitle;
    GetSetupCore().caption = m_title;
    if (!CheckCommandLine())
        return false;
    if (product.MainUpgradeCode.empty()) {
        LogMessage("Unable to identify main product");
        return false;
    }
    LogMessage("Identified main product [%s]", product.MainUpgradeCode.c_str());
    g_showDebugMessages = m_ini.GetInt("Startup", "DebugMsg", 0) != 0;
    return CheckEngineAndBrowser() && ChooseLanguage() && Prepare();
}

bool CKWAutorunApp::CheckCommandLine()
{
    std::string line = EffectiveCommandLine(m_ini, GetCommandLineText());
    SetupCommandLine options = ParseSetupCommandLine(line);
    m_loggingRequested = options.loggingRequested;
    m_languageGiven = options.languageGiven;
    if (m_loggingRequested)
        m_logPath = StartSetupLog(options.logPath, m_title);
    if (!options.valid) {
        LogMessage("Command line is invalid (%s)", line.c_str());
        ShowUsage();
        return false;
    }
    LogMessage("Command line is valid (%s)", line.c_str());
    return true;
}

bool CKWAutorunApp::CheckEngineAndBrowser()
{
    if (InitializeSetupCore(GetInstance(), nullptr) != 0) {
        LogMessage("Unable to initialize setup core");
        return false;
    }
    LogMessage("Setup core initialized");
    std::string message;
    if (!CheckMinimumBrowser(m_ini, message)) {
        if (!message.empty()) {
            Box(message, MB_OK | MB_ICONWARNING);
            LogMessage("%s", message.c_str());
        }
        LogMessage("Microsoft Internet Explorer is missing or does not match requirement");
        return false;
    }
    LogMessage("Minimal requirement match");
    return true;
}

bool CKWAutorunApp::ChooseLanguage()
{
    if (m_languageGiven)
        return true;
    LogMessage("Displaying splash screen");
    CLanguageDlg dialog;
    return dialog.DoModal() == IDOK;
}

bool CKWAutorunApp::Prepare()
{
    m_waitDialog = std::make_unique<CSplashWaitMiniDlg>();
    m_waitDialog->Open(3 * CountSetupPackages(m_ini) + 10);
    m_data = std::make_unique<CSetupInstallationData>();
    m_wizard = std::make_unique<CSetupUI>(m_title, *m_data);
    m_wizard->SetBannerColors(RGB(0, 0, 0), RGB(0, 0, 0));
    bool prepared = PrepareInstallation(m_ini, *m_data, GetProductDescriptor(), m_wizard.get(),
                                        m_loggingRequested ? m_logPath : std::string(), [this] {
                                            m_waitDialog->Step();
                                        });
    bool cancelled = !m_waitDialog->Close();
    m_waitDialog.reset();
    if (!prepared || cancelled)
        return false;
    LogMessage("Closing splash screen");
    return true;
}

std::string CKWAutorunApp::EngineLogPath() const
{
    if (m_logPath.empty())
        return std::string();
    // The engine writes its own file beside setup's log: two writers in one
    // file interleave, and an engine that opens it afresh writes over its
    // start. The previous run's engine log is kept as ".bak".
    std::string path = FolderOf(m_logPath) + "\\" + kEngineLogName;
    RotateToBackup(path);
    return path;
}

void CKWAutorunApp::RunWizard()
{
    m_wizard->SetThreadMessageHandler([this](const MSG& message) {
        return OnThreadMessage(message);
    });
    m_wizard->DoModal(GetInstance());
    LogMessage("Performing post-install operations");
    const ProductDescriptor& product = GetProductDescriptor();
    m_data->DetermineDestinationFolder(product, nullptr);
    RunPostInstallLaunches(*m_data, product);
}

bool CKWAutorunApp::OnThreadMessage(const MSG& message)
{
    const RegisteredMessages& ids = GetRegisteredMessages();
    const ProductDescriptor& product = GetProductDescriptor();
    if (message.message == ids.writeToLog) {
        LogMessage("%s", TakeTracedText(message.wParam).c_str());
    } else if (message.message == ids.setupSetInstallMode) {
        GetSetupCore().InstallMode = static_cast<int>(message.wParam);
    } else if (message.message == ids.setupSetDestinationFolder) {
        m_data->ChangeDestinationFolder(TakeHeapText(reinterpret_cast<char*>(message.wParam)));
    } else if (message.message == ids.setupInstallAll) {
        InstallAll(*m_data, product, m_wizard.get());
    } else if (message.message == ids.setupRepairAll) {
        RepairAll(*m_data, m_wizard.get());
    } else if (message.message == ids.setupRemoveAll) {
        RemoveAll(*m_data, m_wizard.get());
    } else {
        return false;
    }
    return true;
}

void CKWAutorunApp::ShowUsage()
{
    std::string text;
    for (int line = 1; line <= 6; ++line)
        text += CResString("IDD_USAGE", "line" + std::to_string(line), "").GetText() + "\n";
    Box(text, MB_OK | MB_ICONINFORMATION);
}

int CKWAutorunApp::Box(const std::string& text, UINT type) const
{
    return MessageBoxA(nullptr, text.c_str(), m_title.c_str(), type);
}

int CKWAutorunApp::ExitInstance()
{
    m_waitDialog.reset();
    m_data.reset();
    m_wizard.reset();
    if (g_rebootScheduled) {
        LogMessage("Reboot is scheduled");
        RebootSystem();
    }
    ClearPrerequisites();
    EndSetupLog(m_title);
    return CWinApplication::ExitInstance();
}
