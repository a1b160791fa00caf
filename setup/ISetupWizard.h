#pragma once

#include <string>

// The wizard states the installation work selects itself.
enum WizardState {
    kWizardMissingPrerequisite = 8,
};

// Progress bars and status lines of the progress page.
enum WizardBar {
    kWizardOverallBar = 1,
    kWizardPackageBar = 2,
};

// What the installation work asks of the wizard window. The window only
// shows what it is told; it never runs installer work itself.
class ISetupWizard {
public:
    virtual ~ISetupWizard() = default;
    // 1, 2 or 3 select the first page for a setup mode; 8 shows the
    // missing-prerequisite page.
    virtual void SetState(int state) = 0;
    virtual void SetDestinationFolder(const std::string& folder) = 0;
    // Line 1 or 2 of the progress page.
    virtual void SetStatusText(int line, const std::string& text) = 0;
    virtual void SetProgressRange(int bar, int minimum, int maximum) = 0;
};
