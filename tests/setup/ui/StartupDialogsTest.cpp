#include "CLanguageDlg.h"
#include "CSplashWaitMiniDlg.h"
#include "InterfaceLanguage.h"
#include "SetupFlags.h"
#include "SetupResources.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const UINT kRunScript = RegisterWindowMessageA("kw_STARTUP_DIALOGS_TEST_SCRIPT");

// The language choice with a script of the person's actions run once it is
// shown.
class ScriptedLanguageDlg : public CLanguageDlg {
public:
    explicit ScriptedLanguageDlg(std::function<void(ScriptedLanguageDlg&)> script)
    {
        OnMessage(kRunScript, [this, script](WPARAM, LPARAM) {
            script(*this);
        });
    }
    void Click(int id) const { SendMessageA(GetItem(id), BM_CLICK, 0, 0); }

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = CLanguageDlg::OnInitDialog();
        PostMessageA(GetHwnd(), kRunScript, 0, 0);
        return result;
    }
};

} // namespace

// The current language's button has the focus; the French flag switches to
// French and ends with OK, the close button cancels and changes nothing.
TEST(StartupDialogsTest, LanguageChoice)
{
    g_language = kLanguageEnglish;
    ScriptedLanguageDlg french([](ScriptedLanguageDlg& d) {
        EXPECT_EQ(d.GetItem(IDC_LANGUAGE_ENGLISH), GetFocus());
        d.Click(IDC_LANGUAGE_FRENCH);
    });
    EXPECT_EQ(IDOK, french.DoModal());
    EXPECT_EQ(kLanguageFrench, g_language);

    ScriptedLanguageDlg closed([](ScriptedLanguageDlg& d) {
        EXPECT_EQ(d.GetItem(IDC_LANGUAGE_FRENCH), GetFocus());
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, closed.DoModal());
    EXPECT_EQ(kLanguageFrench, g_language);
    g_language = kLanguageEnglish;
}

// Esc reaches the wait dialog while start-up only steps it: the window
// closes, the start-up is told to stop, and further steps do nothing.
TEST(StartupDialogsTest, WaitDialogCancelledWithEscape)
{
    g_cancelRequested = false;
    CSplashWaitMiniDlg finished;
    ASSERT_TRUE(finished.Open(3));
    finished.Step();
    EXPECT_TRUE(finished.Close());
    EXPECT_FALSE(g_cancelRequested);

    CSplashWaitMiniDlg cancelled;
    ASSERT_TRUE(cancelled.Open(3));
    PostMessageA(cancelled.GetHwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    cancelled.Step();
    EXPECT_FALSE(cancelled.IsOpen());
    EXPECT_TRUE(g_cancelRequested);
    cancelled.Step();
    EXPECT_FALSE(cancelled.Close());
    g_cancelRequested = false;
}
