#pragma once

#include "CDialog.h"

#include <windows.h>

#include <string>

class CPropertySheet;

// A page of a property sheet, built from a dialog template of the program's
// resources. It is a dialog in everything but its ending: the sheet owns its
// window and ends the wizard, so a page never calls EndDialog or DoModal.
// The sheet's notifications reach the virtual hooks below; the page's own
// controls get the dialog's handler table and reflection.
class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId) : CDialog(templateId) {}

    // The caption the sheet shows while the page is current, instead of the
    // template's; before the sheet is shown.
    void SetCaption(const std::string& caption) { m_caption = caption; }
    // The sheet the page was added to; null before.
    CPropertySheet* GetSheet() const { return m_sheet; }

    // What OnWizardNext and OnWizardBack answer besides a page's template id.
    static const LRESULT kNeighbour = 0; // the next or previous page added
    static const LRESULT kStay = -1;     // the page does not change

protected:
    // The page is about to be shown; false to refuse.
    virtual bool OnSetActive() { return true; }
    // Next or Back pressed: the page to go to (kNeighbour, kStay or a page's
    // template id).
    virtual LRESULT OnWizardNext() { return kNeighbour; }
    virtual LRESULT OnWizardBack() { return kNeighbour; }
    // Finish pressed; false keeps the wizard open.
    virtual bool OnWizardFinish() { return true; }
    // Cancel or the close box; false keeps the wizard open.
    virtual bool OnQueryCancel() { return true; }

private:
    friend class CPropertySheet;

    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The answer to one of the sheet's notifications; false for the others.
    bool OnSheetNotify(const NMHDR& header, LRESULT& result);

    CPropertySheet* m_sheet = nullptr;
    std::string m_caption;
};
