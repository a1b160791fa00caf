#pragma once

#include "CSetupPage.h"

// The outcome of the operation: success with the launch and readme offers,
// success needing a restart, or failure. Finish records the choices.
class CCompletePage : public CSetupPage {
public:
    explicit CCompletePage(CSetupUI& wizard);

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    LRESULT OnWizardBack() override { return kStay; }
    bool OnWizardFinish() override;

private:
    bool OffersLaunch() const;
};
