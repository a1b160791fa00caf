#include "CXListCtrl.h"

#include "RegisteredMessages.h"

#include <windowsx.h>

#include <algorithm>

namespace {

const int kPadding = 6;  // between a cell's edges and its content
const int kGap = 4;      // between a check box, an image and a text
const int kBoxSize = 13; // the check box, as the system draws it
const int kTipWidth = 400;
const UINT_PTR kToolId = 1;
const char kEmptyText[] = "There are no items to show in this view.";

// A window's device context with the window's font selected, released
// (and the font put back) on every path.
class WindowFontDC {
public:
    explicit WindowFontDC(HWND window) : m_window(window), m_dc(GetDC(window))
    {
        auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
        m_previous = SelectObject(m_dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    }
    ~WindowFontDC()
    {
        SelectObject(m_dc, m_previous);
        ReleaseDC(m_window, m_dc);
    }
    WindowFontDC(const WindowFontDC&) = delete;
    WindowFontDC& operator=(const WindowFontDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
    HGDIOBJ m_previous;
};

SIZE ImageSize(HIMAGELIST images)
{
    int width = 0;
    int height = 0;
    if (images != nullptr)
        ImageList_GetIconSize(images, &width, &height);
    return {width, height};
}

} // namespace

CXListCtrl::~CXListCtrl()
{
    if (m_toolTip != nullptr)
        DestroyWindow(m_toolTip);
}

bool CXListCtrl::Create(HWND dialog, int id)
{
    if (!AttachItem(dialog, id))
        return false;
    HWND list = GetHwnd();
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES);
    ListView_SetBkColor(list, GetSysColor(COLOR_WINDOW));
    m_header.Attach(ListView_GetHeader(list));

    m_toolTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(list, GA_ROOT),
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = list;
    tool.uId = kToolId;
    tool.lpszText = const_cast<char*>("");
    SendMessageA(m_toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    // A width makes the tip break its text at "\r\n".
    SendMessageA(m_toolTip, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    return true;
}

void CXListCtrl::InsertColumn(int column, int format)
{
    LVCOLUMNA info = {};
    info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    info.fmt = format;
    info.pszText = const_cast<char*>("");
    SendMessageA(GetHwnd(), LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&info));
    m_formats.insert(m_formats.begin() + column, format);
    for (Row& row : m_rows)
        row.cells.insert(row.cells.begin() + column, Cell());
}

void CXListCtrl::SetColumnWidth(int column, int width)
{
    ListView_SetColumnWidth(GetHwnd(), column, width);
}

int CXListCtrl::GetColumnWidth(int column) const
{
    return ListView_GetColumnWidth(GetHwnd(), column);
}

int CXListCtrl::ContentWidth(HDC dc, const Cell& cell) const
{
    int width = 0;
    if (cell.check != kNoCheckBox)
        width += kBoxSize;
    if (cell.image != kNoImage)
        width += (width > 0 ? kGap : 0) + ImageSize(ListView_GetImageList(GetHwnd(), LVSIL_SMALL)).cx;
    if (!cell.text.empty()) {
        SIZE text = {};
        GetTextExtentPoint32A(dc, cell.text.c_str(), static_cast<int>(cell.text.size()), &text);
        width += (width > 0 ? kGap : 0) + text.cx;
    }
    return width;
}

int CXListCtrl::GetContentWidth(int column) const
{
    WindowFontDC dc(GetHwnd());
    int widest = 0;
    for (const Row& row : m_rows)
        widest = std::max(widest, ContentWidth(dc.Get(), row.cells[column]));
    return widest + 2 * kPadding;
}

int CXListCtrl::AddRow(void* data)
{
    const int index = GetRowCount();
    Row row;
    row.cells.resize(m_formats.size());
    row.data = data;
    m_rows.push_back(row);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<char*>("");
    item.iImage = kNoImage;
    SendMessageA(GetHwnd(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    for (int column = 1; column < GetColumnCount(); ++column)
        SetImage(index, column, kNoImage);
    return index;
}

void CXListCtrl::DeleteRow(int row)
{
    m_rows.erase(m_rows.begin() + row);
    ListView_DeleteItem(GetHwnd(), row);
    m_tipRow = -1;
}

void CXListCtrl::DeleteAllRows()
{
    m_rows.clear();
    ListView_DeleteAllItems(GetHwnd());
    m_tipRow = -1;
    InvalidateRect(GetHwnd(), nullptr, TRUE);
}

void CXListCtrl::SetText(int row, int column, const std::string& text)
{
    m_rows[row].cells[column].text = text;
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(GetHwnd(), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void CXListCtrl::SetImage(int row, int column, int image)
{
    m_rows[row].cells[column].image = image;
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iSubItem = column;
    item.iImage = image;
    SendMessageA(GetHwnd(), LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    RedrawRow(row);
}

void CXListCtrl::SetCheck(int row, int column, CheckState state)
{
    m_rows[row].cells[column].check = state;
    MirrorCheckState(row);
    RedrawRow(row);
}

void CXListCtrl::MirrorCheckState(int row) const
{
    CheckState state = kNoCheckBox;
    for (const Cell& cell : m_rows[row].cells) {
        if (cell.check != kNoCheckBox) {
            state = cell.check;
            break;
        }
    }
    ListView_SetItemState(GetHwnd(), row, INDEXTOSTATEIMAGEMASK(state), LVIS_STATEIMAGEMASK);
}

void CXListCtrl::EnableRow(int row, bool enabled)
{
    m_rows[row].enabled = enabled;
    RedrawRow(row);
    UpdateWindow(GetHwnd());
}

void CXListCtrl::SetRedraw(bool redraw)
{
    m_redrawing = redraw;
    SendMessageA(GetHwnd(), WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    if (redraw) {
        OnRedrawResumed();
        InvalidateRect(GetHwnd(), nullptr, TRUE);
    }
}

void CXListCtrl::RedrawRow(int row) const
{
    ListView_RedrawItems(GetHwnd(), row, row);
}

RECT CXListCtrl::CellRect(int row, int column) const
{
    RECT rect = {};
    ListView_GetItemRect(GetHwnd(), row, &rect, LVIR_BOUNDS);
    for (int before = 0; before < column; ++before)
        rect.left += GetColumnWidth(before);
    rect.right = rect.left + GetColumnWidth(column);
    return rect;
}

bool CXListCtrl::CellAt(POINT point, int& row, int& column) const
{
    LVHITTESTINFO hit = {};
    hit.pt = point;
    SendMessageA(GetHwnd(), LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    row = hit.iItem;
    column = hit.iSubItem;
    return row >= 0 && row < GetRowCount() && column >= 0 && column < GetColumnCount();
}

void CXListCtrl::ClickCell(int row, int column)
{
    Cell& cell = m_rows[row].cells[column];
    if (!m_rows[row].enabled || cell.check == kNoCheckBox)
        return;
    const bool checked = cell.check == kUnchecked;
    SetCheck(row, column, checked ? kChecked : kUnchecked);
    SendMessageA(GetParent(GetHwnd()), GetRegisteredMessages().listCheckboxClicked, row, column);
    OnCheckBoxClicked(row, column, checked);
}

void CXListCtrl::DrawCell(HDC dc, int row, int column) const
{
    const Row& line = m_rows[row];
    const Cell& cell = line.cells[column];
    const RECT rect = CellRect(row, column);
    const bool selected =
        GetFocus() == GetHwnd() && (ListView_GetItemState(GetHwnd(), row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    const int width = ContentWidth(dc, cell);
    const int inner = rect.right - rect.left - 2 * kPadding;
    int x = rect.left + kPadding;
    if (m_formats[column] == LVCFMT_CENTER)
        x += std::max(0, (inner - width) / 2);
    else if (m_formats[column] == LVCFMT_RIGHT)
        x += std::max(0, inner - width);
    const int middle = (rect.top + rect.bottom) / 2;

    if (cell.check != kNoCheckBox) {
        RECT box = {x, middle - kBoxSize / 2, x + kBoxSize, middle - kBoxSize / 2 + kBoxSize};
        UINT state = DFCS_BUTTONCHECK | DFCS_FLAT;
        if (cell.check == kChecked)
            state |= DFCS_CHECKED;
        if (!line.enabled)
            state |= DFCS_INACTIVE;
        DrawFrameControl(dc, &box, DFC_BUTTON, state);
        x += kBoxSize + kGap;
    }
    // Images stay clear in a greyed row: the marker tells why it is greyed.
    HIMAGELIST images = ListView_GetImageList(GetHwnd(), LVSIL_SMALL);
    if (cell.image != kNoImage && images != nullptr) {
        const SIZE size = ImageSize(images);
        ImageList_Draw(images, cell.image, dc, x, middle - size.cy / 2, ILD_TRANSPARENT);
        x += size.cx + kGap;
    }
    if (!cell.text.empty()) {
        RECT text = {x, rect.top, rect.right - kPadding, rect.bottom};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(!line.enabled ? COLOR_GRAYTEXT
                                     : selected    ? COLOR_HIGHLIGHTTEXT
                                                   : COLOR_WINDOWTEXT));
        DrawTextA(dc, cell.text.c_str(), static_cast<int>(cell.text.size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

// The control paints its background and header, then the text goes below
// the header.
void CXListCtrl::DrawEmptyText() const
{
    RECT area = {};
    GetClientRect(GetHwnd(), &area);
    HWND header = ListView_GetHeader(GetHwnd());
    if (header != nullptr && IsWindowVisible(header)) {
        RECT bar = {};
        GetWindowRect(header, &bar);
        area.top += bar.bottom - bar.top;
    }
    area.top += kPadding;
    WindowFontDC dc(GetHwnd());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), GetSysColor(COLOR_WINDOWTEXT));
    DrawTextA(dc.Get(), kEmptyText, -1, &area, DT_CENTER | DT_TOP | DT_NOPREFIX | DT_WORDBREAK);
}

LRESULT CXListCtrl::OnCustomDraw(const NMLVCUSTOMDRAW& draw)
{
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        const int row = static_cast<int>(draw.nmcd.dwItemSpec);
        if (row < 0 || row >= GetRowCount() || draw.iSubItem < 0 || draw.iSubItem >= GetColumnCount())
            return CDRF_DODEFAULT;
        DrawCell(draw.nmcd.hdc, row, draw.iSubItem);
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void CXListCtrl::OnMouseMove(LPARAM point)
{
    int row = -1;
    int column = -1;
    const POINT where = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    if (!CellAt(where, row, column))
        row = column = -1;
    if (row == m_tipRow && column == m_tipColumn)
        return;
    // The tool follows the cell under the mouse, so the tip shows anew for
    // each cell.
    m_tipRow = row;
    m_tipColumn = column;
    SendMessageA(m_toolTip, TTM_POP, 0, 0);
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = GetHwnd();
    tool.uId = kToolId;
    tool.lpszText = const_cast<char*>("");
    if (row >= 0) {
        tool.rect = CellRect(row, column);
        tool.lpszText = const_cast<char*>(m_rows[row].cells[column].tip.c_str());
    }
    SendMessageA(m_toolTip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(m_toolTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT CXListCtrl::OnNotify(const NMHDR& header)
{
    switch (header.code) {
    case NM_CUSTOMDRAW:
        return OnCustomDraw(reinterpret_cast<const NMLVCUSTOMDRAW&>(header));
    case NM_CLICK:
    case NM_DBLCLK: {
        // A quick second click is a double click: it toggles too.
        int row = -1;
        int column = -1;
        if (CellAt(reinterpret_cast<const NMITEMACTIVATE&>(header).ptAction, row, column))
            ClickCell(row, column);
        return 0;
    }
    case LVN_KEYDOWN: {
        const int row = ListView_GetNextItem(GetHwnd(), -1, LVNI_FOCUSED);
        if (reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey != VK_SPACE || row < 0)
            return 0;
        for (int column = 0; column < GetColumnCount(); ++column) {
            if (m_rows[row].cells[column].check != kNoCheckBox) {
                ClickCell(row, column);
                break;
            }
        }
        return 0;
    }
    default:
        return 0;
    }
}

LRESULT CXListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kReflectBase + WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        break;
    case WM_PAINT: {
        LRESULT result = Default(message, wParam, lParam);
        if (m_rows.empty())
            DrawEmptyText();
        return result;
    }
    case WM_DESTROY:
        if (m_toolTip != nullptr)
            DestroyWindow(m_toolTip);
        m_toolTip = nullptr;
        break;
    default:
        break;
    }
    return Default(message, wParam, lParam);
}
