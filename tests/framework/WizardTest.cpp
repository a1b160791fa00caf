#include "CPropertyPage.h"
#include "CPropertySheet.h"
#include "DialogTestResources.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const UINT kAskColour = RegisterWindowMessageA("kw_WIZARD_TEST_COLOUR");

// A page that records its hooks and presses the next button of a script
// each time it becomes current, as a person clicking through would.
class ScriptedPage : public CPropertyPage {
public:
    ScriptedPage(UINT templateId, std::string& trace, const char* name)
        : CPropertyPage(templateId), m_trace(trace), m_name(name)
    {
    }
    std::string script; // B(ack), N(ext), F(inish), C(ancel), one per activation
    bool refuseFirstCancel = false;
    LRESULT nextTarget = kNeighbour;

protected:
    bool OnSetActive() override
    {
        COLORREF colour = 0;
        SendMessageA(GetParent(GetHwnd()), kAskColour, reinterpret_cast<WPARAM>(&colour), 0);
        m_trace += m_name + "+" + std::to_string(colour) + " ";
        if (m_activations < script.size()) {
            char key = script[m_activations];
            GetSheet()->PressButton(key == 'B'   ? CPropertySheet::kBack
                                    : key == 'N' ? CPropertySheet::kNext
                                    : key == 'F' ? CPropertySheet::kFinish
                                                 : CPropertySheet::kCancel);
        }
        ++m_activations;
        return true;
    }
    LRESULT OnWizardNext() override
    {
        // Staying put, the person gives up.
        if (nextTarget == kStay)
            GetSheet()->PressButton(CPropertySheet::kCancel);
        return Record("next", nextTarget);
    }
    LRESULT OnWizardBack() override { return Record("back", kNeighbour); }
    bool OnWizardFinish() override { return Record("finish", 1) != 0; }
    bool OnQueryCancel() override
    {
        bool allow = !refuseFirstCancel;
        refuseFirstCancel = false;
        Record(allow ? "cancel" : "cancel-refused", 0);
        if (!allow)
            GetSheet()->PressButton(CPropertySheet::kCancel);
        return allow;
    }

private:
    LRESULT Record(const char* what, LRESULT result)
    {
        m_trace += m_name + ":" + what + " ";
        return result;
    }

    std::string& m_trace;
    std::string m_name;
    size_t m_activations = 0;
};

class AnsweringSheet : public CPropertySheet {
public:
    AnsweringSheet() : CPropertySheet("Wizard test")
    {
        OnMessage(kAskColour, [](WPARAM w, LPARAM) {
            *reinterpret_cast<COLORREF*>(w) = 7;
        });
    }
};

} // namespace

// Next and Back move between the pages, each hook sees its page's
// notification, the sheet answers its registered messages, and Finish ends
// the wizard as finished.
TEST(WizardTest, NextBackAndFinishReachThePagesHooksAndEndTheWizard)
{
    std::string trace;
    ScriptedPage first(IDD_TEST_PAGE1, trace, "1");
    ScriptedPage second(IDD_TEST_PAGE2, trace, "2");
    first.script = "NN";
    second.script = "BF";
    AnsweringSheet sheet;
    sheet.AddPage(first);
    sheet.AddPage(second);
    EXPECT_EQ(1, sheet.DoModal());
    EXPECT_EQ("1+7 1:next 2+7 2:back 1+7 1:next 2+7 2:finish ", trace);
    EXPECT_EQ(nullptr, sheet.GetHwnd());
}

// A page may keep the person where they are, and refuse a cancel; an
// accepted cancel ends the wizard as cancelled.
TEST(WizardTest, AStayingPageAndARefusedCancelKeepTheWizardOpen)
{
    std::string trace;
    ScriptedPage first(IDD_TEST_PAGE1, trace, "1");
    ScriptedPage second(IDD_TEST_PAGE2, trace, "2");
    first.script = "N";
    first.nextTarget = CPropertyPage::kStay;
    first.refuseFirstCancel = true;
    AnsweringSheet sheet;
    sheet.AddPage(first);
    sheet.AddPage(second);
    EXPECT_EQ(0, sheet.DoModal());
    EXPECT_EQ("1+7 1:next 1:cancel-refused 1:cancel ", trace);
}
