#pragma once

#include "CSetupPage.h"

// The first page: what the wizard is about to do for the setup mode.
class CWelcomePage : public CSetupPage {
public:
    explicit CWelcomePage(CSetupUI& wizard);

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    LRESULT OnWizardNext() override;
    LRESULT OnWizardBack() override { return kStay; }
};
