#pragma once

#include "CMaskedBitmap.h"
#include "CSetupPage.h"

// The choice between repairing and removing an installed product.
class CMaintTypePage : public CSetupPage {
public:
    explicit CMaintTypePage(CSetupUI& wizard);

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    bool OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT OnWizardNext() override;
    LRESULT OnWizardBack() override;

private:
    CMaskedBitmap m_repairPicture;
    CMaskedBitmap m_removePicture;
};
