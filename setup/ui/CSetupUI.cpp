#include "CSetupUI.h"

#include "CResString.h"
#include "CSetupInstallationData.h"
#include "HeapText.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"
#include "SetupCore.h"
#include "SetupResources.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

// Posts to the application's own thread, where the installer work waits
// for it; false when the queue refused it.
bool PostToApplication(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return PostThreadMessageA(GetCurrentThreadId(), message, wParam, lParam) != FALSE;
}

} // namespace

CSetupUI::CSetupUI(const std::string& title, CSetupInstallationData& data)
    : CPropertySheet(title), m_title(title), m_data(data), m_completePage(*this), m_destinationPage(*this),
      m_licensePage(*this), m_maintTypePage(*this), m_progressPage(*this), m_readyPage(*this), m_welcomePage(*this),
      m_missingPrereqPage(*this)
{
    AddPage(m_completePage);
    AddPage(m_destinationPage);
    AddPage(m_licensePage);
    AddPage(m_maintTypePage);
    AddPage(m_progressPage);
    AddPage(m_readyPage);
    AddPage(m_welcomePage);
    AddPage(m_missingPrereqPage);

    const RegisteredMessages& ids = GetRegisteredMessages();
    OnMessage(ids.getSetupBannerTitleColor, [this](WPARAM colour, LPARAM) {
        if (colour != 0)
            *reinterpret_cast<COLORREF*>(colour) = m_bannerTitleColour;
    });
    OnMessage(ids.getSetupBannerSubtitleColor, [this](WPARAM colour, LPARAM) {
        if (colour != 0)
            *reinterpret_cast<COLORREF*>(colour) = m_bannerSubtitleColour;
    });
    AnswerProgressMessages();
    SetState(kWizardInstallation);
}

void CSetupUI::OnProgressMessage(UINT message, MessageHandler handler)
{
    // The engine reports from inside the installation, where no message loop
    // runs: the page is kept painted and Cancel answered from here, for as
    // long as the operation is shown.
    OnMessage(message, [this, handler](WPARAM wParam, LPARAM lParam) {
        handler(wParam, lParam);
        if (m_progressActive)
            PumpWindowMessages();
    });
}

void CSetupUI::AnswerProgressMessages()
{
    const ProgressMessages& ids = GetProgressMessages();
    // The minimum stays 0 whatever is asked.
    OnProgressMessage(ids.setMin, [](WPARAM, LPARAM) {});
    OnProgressMessage(ids.setMax, [this](WPARAM bar, LPARAM maximum) {
        int minimum =
            static_cast<int>(SendMessageA(m_progressPage.GetBar(static_cast<int>(bar)), PBM_GETRANGE, TRUE, 0));
        SetProgressRange(static_cast<int>(bar), minimum, static_cast<int>(maximum));
    });
    OnProgressMessage(ids.setPos, [this](WPARAM bar, LPARAM position) {
        SetProgressPos(static_cast<int>(bar), static_cast<int>(position));
    });
    OnProgressMessage(ids.offsetPos, [this](WPARAM bar, LPARAM offset) {
        if (m_progressActive)
            SendMessageA(m_progressPage.GetBar(static_cast<int>(bar)), PBM_DELTAPOS, static_cast<WPARAM>(offset), 0);
    });
    OnProgressMessage(ids.setStep, [this](WPARAM bar, LPARAM step) {
        SetProgressStep(static_cast<int>(bar), static_cast<int>(step));
    });
    OnProgressMessage(ids.stepIt, [this](WPARAM bar, LPARAM) {
        StepProgress(static_cast<int>(bar));
    });
    OnProgressMessage(ids.setActionText, [this](WPARAM line, LPARAM text) {
        // Taken whatever happens, so the text is never lost.
        SetStatusText(static_cast<int>(line), TakeActionText(text));
    });
    OnProgressMessage(ids.showButton, [this](WPARAM selector, LPARAM show) {
        if (m_progressActive)
            ShowWindow(GetSelectedButton(static_cast<int>(selector)), show != 0 ? SW_SHOW : SW_HIDE);
    });
}

void CSetupUI::SetState(int state)
{
    if (state == m_state)
        return;
    if (state == kWizardPatchOnly)
        m_installMode = kInstallModePatchOnly;
    // The pages read the state as they are shown.
    m_state = state;
    m_progressActive = state == kWizardProgress;
    switch (state) {
    case kWizardInstallation:
    case kWizardMaintenance:
    case kWizardPatchOnly:
        MakeCurrent(IDD_PAGE_WELCOME);
        break;
    case kWizardProgress:
        MakeCurrent(IDD_PAGE_PROGRESS);
        PostOperation();
        break;
    case kWizardSucceeded:
    case kWizardSucceededRestart:
    case kWizardFailed:
        MakeCurrent(IDD_PAGE_COMPLETE);
        break;
    case kWizardMissingPrerequisite:
        MakeCurrent(IDD_PAGE_MISSPREREQ);
        break;
    default:
        break;
    }
}

void CSetupUI::MakeCurrent(UINT templateId)
{
    if (GetHwnd() != nullptr)
        SetActivePage(templateId);
    else
        SetStartPage(templateId);
}

void CSetupUI::PostOperation()
{
    const RegisteredMessages& ids = GetRegisteredMessages();
    PostToApplication(ids.setupSetInstallMode, static_cast<WPARAM>(m_installMode));
    switch (m_installMode) {
    case kInstallModeInstall: {
        char* folder = NewHeapText(m_destinationPage.GetFolder());
        if (folder != nullptr && !PostToApplication(ids.setupSetDestinationFolder, reinterpret_cast<WPARAM>(folder)))
            TakeHeapText(folder);
        PostToApplication(ids.setupInstallAll);
        break;
    }
    case kInstallModePatchOnly:
        PostToApplication(ids.setupInstallAll);
        break;
    case kInstallModeRepair:
        PostToApplication(ids.setupRepairAll);
        break;
    case kInstallModeRemove:
        PostToApplication(ids.setupRemoveAll);
        break;
    default:
        break;
    }
}

void CSetupUI::Finish(bool success, bool restartRequired)
{
    if (!m_progressActive)
        return;
    SetState(!success ? kWizardFailed : restartRequired ? kWizardSucceededRestart : kWizardSucceeded);
}

void CSetupUI::SetDestinationFolder(const std::string& folder)
{
    m_destinationPage.SetFolder(folder);
}

void CSetupUI::SetStatusText(int line, const std::string& text)
{
    if (m_progressActive)
        m_progressPage.SetStatusText(line, text);
}

void CSetupUI::SetProgressRange(int bar, int minimum, int maximum)
{
    if (m_progressActive)
        SendMessageA(m_progressPage.GetBar(bar), PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum);
}

void CSetupUI::SetProgressPos(int bar, int position)
{
    if (m_progressActive)
        SendMessageA(m_progressPage.GetBar(bar), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CSetupUI::SetProgressStep(int bar, int step)
{
    if (m_progressActive)
        SendMessageA(m_progressPage.GetBar(bar), PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void CSetupUI::StepProgress(int bar)
{
    if (m_progressActive)
        SendMessageA(m_progressPage.GetBar(bar), PBM_STEPIT, 0, 0);
}

void CSetupUI::SetBannerColors(COLORREF title, COLORREF subtitle)
{
    m_bannerTitleColour = title;
    m_bannerSubtitleColour = subtitle;
}

HWND CSetupUI::GetSelectedButton(int selector) const
{
    switch (selector) {
    case kSelectBack:
        return GetButton(kBack);
    case kSelectCancel:
        return GetButton(kCancel);
    case kSelectNext:
        return GetButton(m_finishShown ? kFinish : kNext);
    default:
        return nullptr;
    }
}

void CSetupUI::SetPageButtons(ButtonLook back, ButtonLook next, ButtonLook cancel, int nextTextId, bool finish)
{
    m_finishShown = finish;
    SetWizardButtons(finish ? PSWIZB_FINISH : PSWIZB_BACK | PSWIZB_NEXT);
    const ButtonLook looks[] = {back, cancel, next};
    const int selectors[] = {kSelectBack, kSelectCancel, kSelectNext};
    for (int i = 0; i < 3; ++i) {
        HWND button = GetSelectedButton(selectors[i]);
        ShowWindow(button, looks[i] == kButtonHidden ? SW_HIDE : SW_SHOW);
        EnableWindow(button, looks[i] == kButtonEnabled ? TRUE : FALSE);
    }
    SetButtonText(kBack, CResString(101));
    SetButtonText(finish ? kFinish : kNext, CResString(nextTextId));
    SetButtonText(kCancel, CResString(107));
}

void CSetupUI::OnInitSheet()
{
    // No help: Back, Next and Cancel take the room it leaves at the right
    // (where the system has not already given it to them).
    RECT help;
    RECT cancel;
    HWND helpButton = GetButton(kHelp);
    GetWindowRect(helpButton, &help);
    GetWindowRect(GetButton(kCancel), &cancel);
    ShowWindow(helpButton, SW_HIDE);
    int shift = help.right - cancel.right;
    if (shift <= 0)
        return;
    for (WizardButton button : {kBack, kNext, kFinish, kCancel}) {
        HWND window = GetButton(button);
        RECT place;
        GetWindowRect(window, &place);
        MapWindowPoints(nullptr, GetHwnd(), reinterpret_cast<POINT*>(&place), 2);
        SetWindowPos(window, nullptr, place.left + shift, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

std::string CSetupUI::FormatCaption(const std::string& caption)
{
    return "[" + m_title + "] - " + caption;
}
