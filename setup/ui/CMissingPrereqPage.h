#pragma once

#include "CButtonST.h"
#include "CSetupPage.h"

// A prerequisite is missing and setup cannot install it: its name, as a
// link to its web site when it has one. Finish ends the wizard.
class CMissingPrereqPage : public CSetupPage {
public:
    explicit CMissingPrereqPage(CSetupUI& wizard);

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnWizardBack() override { return kStay; }

private:
    CButtonST m_link;
};
