#pragma once

#include "CCompletePage.h"
#include "CDestinationPage.h"
#include "CLicensePage.h"
#include "CMaintTypePage.h"
#include "CMissingPrereqPage.h"
#include "CPropertySheet.h"
#include "CProgressPage.h"
#include "CReadyPage.h"
#include "CWelcomePage.h"
#include "GdiHandles.h"
#include "ISetupWizard.h"

#include <windows.h>

#include <string>

class CSetupInstallationData;

// Setup's installation wizard. Its pages are chosen by the state machine of
// SetState rather than by their order; it never runs installer work itself
// but posts the chosen operation to the thread as registered messages, and
// shows the progress and outcome it is told. The application hands those
// thread messages to the installer work through SetThreadMessageHandler.
class CSetupUI : public CPropertySheet, public ISetupWizard {
public:
    // How a page shows one of the wizard's buttons.
    enum ButtonLook { kButtonHidden, kButtonDisabled, kButtonEnabled };
    // The buttons as the installer work names them.
    enum ButtonSelector { kSelectBack = -1, kSelectCancel = 0, kSelectNext = 1 };

    // The title appears in the caption and the pages' texts; the data holds
    // the facts the pages show and receives the choices made on them. The
    // interface language must be chosen before: the page captions are read
    // here. Selects state 1.
    CSetupUI(const std::string& title, CSetupInstallationData& data);

    void SetState(int state) override;
    void Finish(bool success, bool restartRequired) override;
    void SetDestinationFolder(const std::string& folder) override;
    void SetStatusText(int line, const std::string& text) override;
    void SetProgressRange(int bar, int minimum, int maximum) override;
    void SetProgressPos(int bar, int position) override;
    void SetProgressStep(int bar, int step) override;
    void StepProgress(int bar) override;
    HWND GetWindow() const override { return GetHwnd(); }

    int GetState() const { return m_state; }
    int GetInstallMode() const { return m_installMode; }
    void SetInstallMode(int mode) { m_installMode = mode; }
    bool IsProgressActive() const { return m_progressActive; }
    const std::string& GetTitle() const { return m_title; }
    CSetupInstallationData& GetData() const { return m_data; }

    void SetBannerColors(COLORREF title, COLORREF subtitle);
    COLORREF GetBannerTitleColor() const { return m_bannerTitleColour; }
    COLORREF GetBannerSubtitleColor() const { return m_bannerSubtitleColour; }
    HBRUSH GetBackgroundBrush() const { return m_backgroundBrush.Get(); }

    // The current page's buttons and the text of Next; on the last pages the
    // system's Finish button takes Next's place.
    void SetPageButtons(ButtonLook back, ButtonLook next, ButtonLook cancel, int nextTextId, bool finish = false);

protected:
    void OnInitSheet() override;
    std::string FormatCaption(const std::string& caption) override;

private:
    void MakeCurrent(UINT templateId);
    void PostOperation();
    HWND GetSelectedButton(int selector) const;
    void AnswerProgressMessages();
    void OnProgressMessage(UINT message, MessageHandler handler);

    std::string m_title;
    CSetupInstallationData& m_data;
    int m_state = kWizardNone;
    int m_installMode = 0;
    bool m_progressActive = false;
    COLORREF m_bannerTitleColour = RGB(0, 0, 0);
    COLORREF m_bannerSubtitleColour = RGB(0, 0, 0);
    KwGdiObject<HBRUSH> m_backgroundBrush{CreateSolidBrush(RGB(255, 255, 255))};
    bool m_finishShown = false;

    CCompletePage m_completePage;
    CDestinationPage m_destinationPage;
    CLicensePage m_licensePage;
    CMaintTypePage m_maintTypePage;
    CProgressPage m_progressPage;
    CReadyPage m_readyPage;
    CWelcomePage m_welcomePage;
    CMissingPrereqPage m_missingPrereqPage;
};
