#include "CKWUpdateCatalog.h"
#include "CUpdateListCtrl.h"
#include "CatalogXml.h"
#include "InterfaceLanguage.h"
#include "RegisteredMessages.h"
#include "SizeText.h"
#include "Version.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const int kListId = 1018;
const int kMarker = 5;

// The window a list lives in: hands the list its notifications back, as
// the dialogs do, and notes the registered messages the list sends.
class ListHost {
public:
    ListHost()
    {
        WNDCLASSA type = {};
        type.lpfnWndProc = &ListHost::Proc;
        type.hInstance = GetModuleHandleA(nullptr);
        type.lpszClassName = "KwListHost";
        RegisterClassA(&type);
        m_window = CreateWindowExA(0, "KwListHost", "List host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 520, 200,
                                   nullptr, nullptr, type.hInstance, nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 8, 8, 480, 140,
                        m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), type.hInstance, nullptr);
    }
    ~ListHost() { DestroyWindow(m_window); }
    ListHost(const ListHost&) = delete;
    ListHost& operator=(const ListHost&) = delete;

    HWND Window() const { return m_window; }
    HWND List() const { return GetDlgItem(m_window, kListId); }
    std::vector<UINT> messages;

    // Clicks the middle of a cell as the mouse does and lets the list react.
    void Click(int row, int column)
    {
        RECT cell = {};
        ListView_GetSubItemRect(List(), row, column, LVIR_BOUNDS, &cell);
        const LPARAM where = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        PostMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageA(List(), WM_LBUTTONUP, 0, where);
        MSG message;
        for (int round = 0; round < 5; ++round) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            Sleep(20);
        }
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<ListHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_NOTIFY) {
            HWND from = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
            if (CControl::FromHandle(from) != nullptr)
                return SendMessageA(from, kReflectBase + WM_NOTIFY, wParam, lParam);
        }
        if (self != nullptr && (message == GetRegisteredMessages().listCheckboxClicked ||
                                message == GetRegisteredMessages().updatesSelChanged))
            self->messages.push_back(message);
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND m_window;
};

class UpdateListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_language = kLanguageEnglish;
        ASSERT_TRUE(m_list.Create(m_host.Window(), kListId));
        m_list.SetMode(CUpdateListCtrl::kModeList);
    }

    std::unique_ptr<CUpdateItem> MakeUpdate(const std::string& subject, DWORD size)
    {
        auto update =
            std::make_unique<CUpdateItem>(subject, "{P}", PackVersion("1.1"), PackVersion("1.0"), PackVersion("1.0"));
        update->SetSubject(subject);
        update->SetFileSize(size);
        return update;
    }
    std::string State(int row)
    {
        return std::string(m_list.GetCheck(row, 1) == CXListCtrl::kChecked ? "on" : "off") +
               (m_list.IsRowEnabled(row) ? "" : " locked") + (m_list.GetImage(row, 0) == kMarker ? " marked" : "");
    }

    ListHost m_host;
    CUpdateListCtrl m_list;
};

} // namespace

// Two products; the second one's update names the first one's as needed.
TEST_F(UpdateListTest, CheckingAnUpdateLocksWhatItRequiresAndMendedUncheckingClearsTheMarker)
{
    const std::string main = "{0D6C3E1B-5A47-4F92-8B3E-6C2D1A0F9E87}";
    CKWUpdateCatalog catalog;
    catalog.SetIgnoreList({});
    ASSERT_TRUE(catalog.LoadXml(
        CatalogXml(ProductXml("{A}", "A", UpdateXml("a1", "1.1", "1.0", "1.0", "EXE", 1024)) +
                   ProductXml("{B}", "B", UpdateXml("b1", "1.1", "1.0", "1.0", "EXE", 1025, DependentXml("a1"))))));
    CKWUpdateCatalog::UpdateList a;
    CKWUpdateCatalog::UpdateList b;
    ASSERT_TRUE(catalog.SelectUpdates("{A}", PackVersion("1.0"), a));
    ASSERT_TRUE(catalog.SelectUpdates("{B}", PackVersion("1.0"), b));
    catalog.ResolveDependencies({a[0].get(), b[0].get()}, main);
    m_list.AddUpdate(a[0].get());
    m_list.AddUpdate(b[0].get());

    EXPECT_EQ("on locked marked", State(0)) << "all start chosen, so a1 is required";
    EXPECT_EQ("on", State(1));
    EXPECT_GT(m_list.GetColumnWidth(0), 0) << "the marker column shows";

    m_host.Click(1, 1);
    EXPECT_EQ("on", State(0)) << "still chosen, but free again";
    EXPECT_EQ("off", State(1));
    const RegisteredMessages& ids = GetRegisteredMessages();
    EXPECT_EQ((std::vector<UINT>{ids.listCheckboxClicked, ids.updatesSelChanged}), m_host.messages);

    m_host.Click(0, 1);
    EXPECT_EQ("off", State(0));
    m_host.Click(1, 1);
    EXPECT_EQ("on locked marked", State(0)) << "checking b1 checks a1 again";
    EXPECT_EQ(INDEXTOSTATEIMAGEMASK(2), ListView_GetItemState(m_host.List(), 0, LVIS_STATEIMAGEMASK))
        << "another program reads the box as the item's state image";
    m_host.Click(0, 1);
    EXPECT_EQ("on locked marked", State(0)) << "a locked box does not change";
    m_host.Click(1, 1);
    EXPECT_EQ("on", State(0));
    EXPECT_EQ(0, m_list.GetColumnWidth(0)) << "no marker left to show";

    EXPECT_EQ(1, m_list.GetCheckedCount());
    EXPECT_EQ(1024u, m_list.GetCheckedSize());
    EXPECT_EQ(1, m_list.RemoveUncheckedRows());
    EXPECT_EQ(a[0].get(), m_list.GetUpdate(0));
    m_list.DeleteAllRows();
    EXPECT_EQ(0, m_list.GetRowCount());
}

TEST(SizeText, ASizeOfExactlyOneUnitReadsInTheUnitBelow)
{
    g_language = kLanguageEnglish;
    EXPECT_EQ("1024 bytes", FormatSize(1024));
    EXPECT_EQ("1 Kb", FormatSize(1025));
    EXPECT_EQ("1024 Kb", FormatSize(1048576));
    EXPECT_EQ("1.5 Mb", FormatSize(1572864));
    EXPECT_EQ("1024.0 Mb", FormatSize(1073741824));
    EXPECT_EQ("1 Gb", FormatSize(1073741825));
    EXPECT_EQ("3 Gb", FormatSize(0xFFFFFFFF));
}

TEST_F(UpdateListTest, RowsShowDateSizeAndNotesThenTheStatusOfTheirMode)
{
    auto noted = MakeUpdate("Noted", 1073741824);
    noted->SetReleaseDate("2012-05-14");
    noted->AddReleaseNote("one");
    noted->AddReleaseNote("two");
    auto plain = MakeUpdate("Plain", 0xFFFFFFFF);
    plain->SetReleaseDate("14/05/2012");
    noted->Select(true);
    plain->Select(true);
    m_list.AddUpdate(noted.get());
    m_list.AddUpdate(plain.get());

    EXPECT_EQ("14/05/2012", m_list.GetText(0, 5));
    EXPECT_EQ("14/05/2012", m_list.GetText(1, 5)) << "Mended: a date in another shape is shown as it is";
    EXPECT_EQ("1024.0 Mb", m_list.GetText(0, 6));
    EXPECT_EQ("* one\r\n* two", m_list.GetToolTip(0, 4));
    EXPECT_EQ("", m_list.GetToolTip(1, 4)) << "no notes, no tip";
    EXPECT_EQ(MAXDWORD, m_list.GetCheckedSize()) << "Mended: the total stops at the largest size";

    m_list.SetMode(CUpdateListCtrl::kModeDownload);
    m_list.SetRowStatus(1, CUpdateListCtrl::kStatusFailed);
    m_list.SetRowStatus(2, CUpdateListCtrl::kStatusFailed);
    EXPECT_EQ(CXListCtrl::kNoCheckBox, m_list.GetCheck(0, 1));
    EXPECT_EQ("", m_list.GetText(0, 5) + m_list.GetText(0, 6));
    EXPECT_EQ((std::vector<int>{CUpdateListCtrl::kStatusPending, CUpdateListCtrl::kStatusFailed}),
              (std::vector<int>{m_list.GetImage(0, 2), m_list.GetImage(1, 2)}));
    EXPECT_EQ(24, m_list.GetColumnWidth(2));
    EXPECT_EQ(0, m_list.GetColumnWidth(1));
}
