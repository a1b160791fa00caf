#pragma once

#include "CSetupPage.h"

#include <string>

// The running operation: two status lines and two bars, the overall one
// and the current package's. Cancel asks before it stops the operation.
class CProgressPage : public CSetupPage {
public:
    explicit CProgressPage(CSetupUI& wizard);

    // Bar 1 is the overall bar, 2 the package's; null for any other.
    HWND GetBar(int bar) const;
    // Line 1 or 2, drawn at once: no message loop runs while the installer
    // works.
    void SetStatusText(int line, const std::string& text) const;

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    LRESULT OnWizardNext() override { return kStay; }
    LRESULT OnWizardBack() override { return kStay; }
    bool OnQueryCancel() override;
};
