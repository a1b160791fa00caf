#pragma once

#include <windows.h>

#include <string>

// The wizard's states. 1, 2 and 3 show the welcome page for a setup mode;
// 4 shows the progress page and starts the chosen operation; 5, 6 and 7 the
// completion page (success, success needing a restart, failure or cancel);
// 8 the missing-prerequisite page.
enum WizardState {
    kWizardNone = 0,
    kWizardInstallation = 1,
    kWizardMaintenance = 2,
    kWizardPatchOnly = 3,
    kWizardProgress = 4,
    kWizardSucceeded = 5,
    kWizardSucceededRestart = 6,
    kWizardFailed = 7,
    kWizardMissingPrerequisite = 8,
};

// Progress bars and status lines of the progress page.
enum WizardBar {
    kWizardOverallBar = 1,
    kWizardPackageBar = 2,
};

// What the installation work asks of the wizard window. The window only
// shows what it is told; it never runs installer work itself. The progress
// calls act only while the progress page is current through state 4.
class ISetupWizard {
public:
    virtual ~ISetupWizard() = default;
    virtual void SetState(int state) = 0;
    // Ends the operation shown on the progress page: state 7 when it failed,
    // 6 when it needs a restart, else 5.
    virtual void Finish(bool success, bool restartRequired) = 0;
    virtual void SetDestinationFolder(const std::string& folder) = 0;
    // Line 1 or 2 of the progress page.
    virtual void SetStatusText(int line, const std::string& text) = 0;
    virtual void SetProgressRange(int bar, int minimum, int maximum) = 0;
    virtual void SetProgressPos(int bar, int position) = 0;
    virtual void SetProgressStep(int bar, int step) = 0;
    virtual void StepProgress(int bar) = 0;
    // The window the engine's progress handler reports to; null before the
    // wizard is shown.
    virtual HWND GetWindow() const = 0;
};
