#include "CDialog.h"
#include "DialogTestResources.h"

#include <gtest/gtest.h>

namespace {

const UINT kPing = RegisterWindowMessageA("kw_DIALOG_TEST_PING");

// Posts a registered message to itself on start, as a worker would, and ends
// with what the handler was given.
class PingDialog : public CDialog {
public:
    PingDialog() : CDialog(IDD_TEST_DIALOG)
    {
        OnMessage(kPing, [this](WPARAM w, LPARAM l) {
            templateText = GetItemText(IDC_TEST_TEXT);
            EndDialog(static_cast<INT_PTR>(w + l));
        });
    }

    std::string templateText;

protected:
    BOOL OnInitDialog() override
    {
        PostMessageA(GetHwnd(), kPing, 40, 2);
        return TRUE;
    }
};

} // namespace

TEST(DialogTest, RegisteredMessageReachesItsHandlerAndEndsTheDialogWithItsResult)
{
    PingDialog dialog;
    EXPECT_EQ(42, dialog.DoModal());
    EXPECT_EQ("from the template", dialog.templateText);
    EXPECT_EQ(nullptr, dialog.GetHwnd());
}
