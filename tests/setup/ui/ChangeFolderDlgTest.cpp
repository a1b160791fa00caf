#include "CChangeFolderDlg.h"
#include "MessageBoxPerson.h"
#include "SetupCore.h"
#include "SetupResources.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <future>
#include <vector>

namespace {

const UINT kRunScript = RegisterWindowMessageA("kw_CHANGE_FOLDER_TEST_SCRIPT");

// The dialog as the person sees it, with a script of their actions run once
// it is shown; the script ends it.
class ScriptedDialog : public CChangeFolderDlg {
public:
    using Script = std::function<void(ScriptedDialog&)>;
    ScriptedDialog(const std::string& folder, Script script) : CChangeFolderDlg(folder, nullptr)
    {
        OnMessage(kRunScript, [this, script](WPARAM, LPARAM) {
            script(*this);
        });
    }

    std::vector<std::string> ListedNames() const
    {
        std::vector<std::string> names;
        HWND list = GetItem(IDC_FOLDER_LIST);
        for (int i = 0; i < ListView_GetItemCount(list); ++i) {
            char text[MAX_PATH] = "";
            ListView_GetItemText(list, i, 0, text, sizeof text);
            names.push_back(text);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    void DoubleClick(int index) const
    {
        HWND list = GetItem(IDC_FOLDER_LIST);
        RECT item;
        ListView_GetItemRect(list, index, &item, LVIR_LABEL);
        LPARAM at = MAKELPARAM(item.left + 2, (item.top + item.bottom) / 2);
        SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(list, WM_LBUTTONUP, 0, at);
        SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(list, WM_LBUTTONUP, 0, at);
    }
    void Press(int id) const { SendMessageA(GetHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetItem(id)); }
    // Names the folder being edited and leaves the name, as a click in the
    // list does.
    void TypeName(const std::string& name) const
    {
        SetWindowTextA(ListView_GetEditControl(GetItem(IDC_FOLDER_LIST)), name.c_str());
        SetFocus(GetItem(IDC_FOLDER_LIST));
    }
    // Types in the folder box and leaves it.
    void TypeFolder(const std::string& folder) const
    {
        SetFocus(GetItem(IDC_FOLDER_NAME));
        SetItemText(IDC_FOLDER_NAME, folder);
        SetFocus(GetItem(IDC_FOLDER_LIST));
    }

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = CChangeFolderDlg::OnInitDialog();
        PostMessageA(GetHwnd(), kRunScript, 0, 0);
        return result;
    }
};

} // namespace

// Browsing lists the subfolders only, a double-click goes into one, up one
// level comes back; a new folder named like a sibling in another letter case
// is refused and keeps its place, another name is taken as the choice.
TEST(ChangeFolderDlgTest, BrowsingAndNamingANewFolder)
{
    TestFolder root;
    CreateDirectoryA(root.File("Alpha").c_str(), nullptr);
    CreateDirectoryA(root.File("Beta").c_str(), nullptr);
    WriteWholeFile(root.File("notes.txt"), "x");
    const std::string top = root.Path() + "\\";
    ScriptedDialog dialog(root.Path(), [&top](ScriptedDialog& d) {
        EXPECT_EQ(top, d.GetItemText(IDC_FOLDER_NAME));
        EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta"}), d.ListedNames());
        HWND list = d.GetItem(IDC_FOLDER_LIST);
        char first[MAX_PATH] = "";
        ListView_GetItemText(list, 0, 0, first, sizeof first);
        int alpha = std::string(first) == "Alpha" ? 0 : 1;
        d.DoubleClick(alpha);
        EXPECT_EQ(top + "Alpha\\", d.GetFolder());
        EXPECT_TRUE(d.ListedNames().empty());
        d.Press(IDC_UP_FOLDER);
        EXPECT_EQ(top, d.GetItemText(IDC_FOLDER_NAME));

        d.Press(IDC_NEW_FOLDER);
        d.TypeName("bETA");
        EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta", "New Folder"}), d.ListedNames());
        ListView_EditLabel(list, 2);
        d.TypeName("Gamma");
        EXPECT_EQ((std::vector<std::string>{"Alpha", "Beta", "Gamma"}), d.ListedNames());
        EXPECT_EQ(top + "Gamma", d.GetItemText(IDC_FOLDER_NAME));
        // Existing folders keep their names.
        EXPECT_EQ(nullptr, ListView_EditLabel(list, alpha));
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_FALSE(FileExists(root.File("Gamma")));
}

// Names met after shorter ones show in full, not cut with "...".
TEST(ChangeFolderDlgTest, LongNamesFoundLaterShowInFull)
{
    TestFolder root;
    const std::string longName = "A folder with a name much longer than the first ones";
    CreateDirectoryA(root.File("Short").c_str(), nullptr);
    CreateDirectoryA(root.File("Short\\a").c_str(), nullptr);
    CreateDirectoryA(root.File(longName).c_str(), nullptr);
    ScriptedDialog dialog(root.File("Short"), [&longName](ScriptedDialog& d) {
        d.Press(IDC_UP_FOLDER);
        HWND list = d.GetItem(IDC_FOLDER_LIST);
        EXPECT_GT(ListView_GetColumnWidth(list, 0), ListView_GetStringWidth(list, longName.c_str()));
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}

// A typed folder becomes current; characters no folder can have are refused
// with the system's explanation and the box shows the current folder again;
// up one level at a drive's root stays at the root, and choosing the drive
// shown again keeps its list; OK returns the folder typed last, even one
// that does not exist yet.
TEST(ChangeFolderDlgTest, DeliberatelyUpAtTheRootStaysThereAndTypedFoldersAreChecked)
{
    GetSetupCore().caption = "Change folder test";
    std::future<FoundBox> person = std::async(std::launch::async, [] {
        return AnswerMessageBox("Change folder test");
    });
    ScriptedDialog dialog("C:\\windows", [](ScriptedDialog& d) {
        d.TypeFolder("C:\\");
        EXPECT_EQ("C:\\", d.GetFolder());
        d.Press(IDC_UP_FOLDER);
        EXPECT_EQ("C:\\", d.GetFolder());
        EXPECT_EQ("C:\\", d.GetItemText(IDC_FOLDER_NAME));
        std::vector<std::string> atRoot = d.ListedNames();
        EXPECT_FALSE(atRoot.empty());
        // Choosing the drive already shown keeps its list.
        HWND drives = d.GetItem(IDC_DRIVES);
        SendMessageA(d.GetHwnd(), WM_COMMAND, MAKEWPARAM(IDC_DRIVES, CBN_SELCHANGE), (LPARAM)drives);
        EXPECT_EQ(atRoot, d.ListedNames());
        d.TypeFolder("C:\\a|b");
        EXPECT_EQ("C:\\", d.GetItemText(IDC_FOLDER_NAME));
        // Typed and confirmed with Enter, without leaving the box.
        SetFocus(d.GetItem(IDC_FOLDER_NAME));
        d.SetItemText(IDC_FOLDER_NAME, "C:\\Not There");
        d.Press(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ("C:\\Not There\\", dialog.GetFolder());
    EXPECT_NE(std::string::npos, person.get().text.find("\\/*?\"<>|"));
}
