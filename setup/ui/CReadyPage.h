#pragma once

#include "CSetupPage.h"

// The summary before the operation starts: Next starts it.
class CReadyPage : public CSetupPage {
public:
    explicit CReadyPage(CSetupUI& wizard);

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    LRESULT OnWizardNext() override;
    LRESULT OnWizardBack() override;

private:
    bool IsMaintenance() const;
};
