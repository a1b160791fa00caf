#pragma once

#include "CSetupPage.h"

// The licence agreement, in the interface language; Next stays disabled
// until the person accepts it.
class CLicensePage : public CSetupPage {
public:
    explicit CLicensePage(CSetupUI& wizard);

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnWizardNext() override;
    LRESULT OnWizardBack() override;

private:
    void ShowAcceptance() const;
};
