#include "CUpdateListCtrl.h"

#include "CUpdateItem.h"
#include "RegisteredMessages.h"
#include "SizeText.h"

#include <algorithm>
#include <cctype>

namespace {

enum Column {
    kColumnMarker,
    kColumnCheck,
    kColumnDownload,
    kColumnInstallation,
    kColumnSubject,
    kColumnDate,
    kColumnSize,
    kColumnCount,
};

const int kColumnFormats[kColumnCount] = {LVCFMT_CENTER, LVCFMT_CENTER, LVCFMT_CENTER, LVCFMT_CENTER,
                                          LVCFMT_LEFT,   LVCFMT_CENTER, LVCFMT_RIGHT};

const int kStatusBitmapId = 142;
const int kImageSize = 16;
const COLORREF kImageTransparent = RGB(255, 0, 255);
const int kMarkerImage = 5;
const int kBoxColumnWidth = 24;
// Column widths that follow the content.
const int kAuto = -1;
// Left free beside the subject column, so no horizontal scroll bar shows.
const int kSpare = 5;

// A date the catalog writes year-month-day shows day/month/year; any other
// text shows as it is rather than cut into pieces.
std::string DateText(const std::string& date)
{
    auto digits = [&date](size_t first, size_t count) {
        for (size_t i = first; i < first + count; ++i)
            if (!std::isdigit(static_cast<unsigned char>(date[i])))
                return false;
        return true;
    };
    if (date.size() < 10 || !digits(0, 4) || !digits(5, 2) || !digits(8, 2))
        return date;
    return date.substr(8, 2) + "/" + date.substr(5, 2) + "/" + date.substr(0, 4);
}

std::string NotesText(const std::vector<std::string>& notes)
{
    std::string text;
    for (const std::string& note : notes)
        text += (text.empty() ? "* " : "\r\n* ") + note;
    return text;
}

} // namespace

CUpdateListCtrl::CUpdateListCtrl() = default;

CUpdateListCtrl::~CUpdateListCtrl()
{
    if (m_images == nullptr)
        return;
    if (GetHwnd() != nullptr)
        ListView_SetImageList(GetHwnd(), nullptr, LVSIL_SMALL);
    ImageList_Destroy(m_images);
}

bool CUpdateListCtrl::Create(HWND dialog, int id)
{
    if (!CXListCtrl::Create(dialog, id))
        return false;
    // The list leaves the image list to us; the columns carry no titles.
    HWND list = GetHwnd();
    SetWindowLongPtrA(list, GWL_STYLE,
                      GetWindowLongPtrA(list, GWL_STYLE) | LVS_SHAREIMAGELISTS | LVS_NOCOLUMNHEADER | LVS_SINGLESEL);
    for (int column = 0; column < kColumnCount; ++column)
        InsertColumn(column, kColumnFormats[column]);

    // The status images are optional: without them the rows show no status.
    HANDLE bitmap = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kStatusBitmapId), IMAGE_BITMAP, 0, 0,
                               LR_CREATEDIBSECTION);
    if (bitmap != nullptr) {
        m_images = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 8, 0);
        if (m_images != nullptr)
            ImageList_AddMasked(m_images, static_cast<HBITMAP>(bitmap), kImageTransparent);
        DeleteObject(bitmap);
        ListView_SetImageList(list, m_images, LVSIL_SMALL);
    }
    return true;
}

bool CUpdateListCtrl::IsChecked(int row) const
{
    return GetCheck(row, kColumnCheck) == kChecked;
}

void CUpdateListCtrl::LockRow(int row, bool locked)
{
    EnableRow(row, !locked);
    SetImage(row, kColumnMarker, locked ? kMarkerImage : kNoImage);
}

void CUpdateListCtrl::AddUpdate(CUpdateItem* item)
{
    const int row = AddRow(item);
    SetCheck(row, kColumnCheck, item->GetSelectionCount() > 0 ? kChecked : kUnchecked);
    SetText(row, kColumnSubject, item->GetSubject());
    SetText(row, kColumnDate, DateText(item->GetReleaseDate()));
    SetText(row, kColumnSize, FormatSize(item->GetFileSize()));
    if (item->GetSelectionCount() >= 2)
        LockRow(row, true);
    SetToolTip(row, kColumnSubject, NotesText(item->GetReleaseNotes()));
    // Sizing measures every row: done once per bulk fill, not once per row.
    if (IsRedrawing())
        ResizeColumns();
}

void CUpdateListCtrl::OnCheckBoxClicked(int row, int, bool checked)
{
    GetUpdate(row)->Select(checked);
    for (int other = 0; other < GetRowCount(); ++other) {
        const int count = GetUpdate(other)->GetSelectionCount();
        LockRow(other, count >= 2);
        SetCheck(other, kColumnCheck, count > 0 ? kChecked : kUnchecked);
    }
    ResizeColumns();
    SendMessageA(GetParent(GetHwnd()), GetRegisteredMessages().updatesSelChanged, 0, 0);
}

void CUpdateListCtrl::SetMode(int mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    for (int row = 0; row < GetRowCount(); ++row) {
        if (mode == kModeDownload) {
            SetCheck(row, kColumnCheck, kNoCheckBox);
            SetImage(row, kColumnDownload, kStatusPending);
            SetText(row, kColumnDate, "");
            SetText(row, kColumnSize, "");
        } else if (mode == kModeInstallation) {
            SetImage(row, kColumnInstallation, kStatusPending);
        }
    }
    ResizeColumns();
}

void CUpdateListCtrl::SetRowStatus(int row, int status)
{
    if (row < 0 || row >= GetRowCount())
        return;
    if (m_mode == kModeDownload)
        SetImage(row, kColumnDownload, status);
    else if (m_mode == kModeInstallation)
        SetImage(row, kColumnInstallation, status);
}

void CUpdateListCtrl::ResizeColumns()
{
    bool marker = false;
    for (int row = 0; row < GetRowCount(); ++row)
        marker = marker || GetImage(row, kColumnMarker) == kMarkerImage;
    int widths[kColumnCount] = {};
    switch (m_mode) {
    case kModeDownload:
        widths[kColumnDownload] = kBoxColumnWidth;
        break;
    case kModeInstallation:
        widths[kColumnInstallation] = kBoxColumnWidth;
        break;
    default:
        widths[kColumnMarker] = marker ? kAuto : 0;
        widths[kColumnCheck] = kBoxColumnWidth;
        widths[kColumnDate] = kAuto;
        widths[kColumnSize] = kAuto;
        break;
    }
    int used = 0;
    for (int column = 0; column < kColumnCount; ++column) {
        if (column == kColumnSubject)
            continue;
        if (widths[column] == kAuto)
            widths[column] = GetContentWidth(column);
        used += widths[column];
        SetColumnWidth(column, widths[column]);
    }
    RECT client = {};
    GetClientRect(GetHwnd(), &client);
    SetColumnWidth(kColumnSubject, std::max(0, static_cast<int>(client.right) - used - kSpare));
}

int CUpdateListCtrl::GetCheckedCount() const
{
    int count = 0;
    for (int row = 0; row < GetRowCount(); ++row)
        count += IsChecked(row) ? 1 : 0;
    return count;
}

DWORD CUpdateListCtrl::GetCheckedSize() const
{
    DWORD total = 0;
    for (int row = 0; row < GetRowCount(); ++row) {
        if (!IsChecked(row))
            continue;
        const DWORD size = GetUpdate(row)->GetFileSize();
        total = size > MAXDWORD - total ? MAXDWORD : total + size;
    }
    return total;
}

int CUpdateListCtrl::RemoveUncheckedRows()
{
    for (int row = GetRowCount() - 1; row >= 0; --row)
        if (!IsChecked(row))
            DeleteRow(row);
    InvalidateRect(GetHwnd(), nullptr, TRUE);
    return GetRowCount();
}
