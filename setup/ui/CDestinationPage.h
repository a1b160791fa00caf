#pragma once

#include "CMaskedBitmap.h"
#include "CSetupPage.h"

#include <string>

// The folder the product goes to, with the button that opens the
// change-folder dialog.
class CDestinationPage : public CSetupPage {
public:
    explicit CDestinationPage(CSetupUI& wizard);

    const std::string& GetFolder() const { return m_folder; }
    // Stores the folder and shows it when the page exists.
    void SetFolder(const std::string& folder);

protected:
    BOOL OnInitDialog() override;
    bool OnSetActive() override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;
    bool OnControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    LRESULT OnWizardNext() override;
    LRESULT OnWizardBack() override;

private:
    std::string m_folder = "C:\\Program Files\\Pelmarin\\";
    CMaskedBitmap m_picture;
};
