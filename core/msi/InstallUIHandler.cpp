#include "InstallUIHandler.h"

#include "CKWMsiDll.h"
#include "InterfaceLanguage.h"
#include "ProgressMessages.h"

#include <climits>

namespace {

// Every message type up to "show dialog".
const DWORD kAllMessageTypes = 0x7FFF;

// Reads the fields "1: a 2: b 3: c 4: d" of a progress or common-data record
// one at a time, so a record is read only as far as its kind needs.
class RecordReader {
public:
    explicit RecordReader(const std::string& text) : m_text(text) {}

    // The next field's value; false when the text does not hold it.
    bool Next(int& value)
    {
        ++m_number;
        size_t blanks = SkipBlanks();
        if (m_number > 1 && blanks == 0)
            return false;
        if (!Take(static_cast<char>('0' + m_number)) || !Take(':') || !Take(' '))
            return false;
        bool negative = m_number > 1 && Take('-');
        long long magnitude = 0;
        size_t digits = 0;
        while (m_pos < m_text.size() && m_text[m_pos] >= '0' && m_text[m_pos] <= '9') {
            magnitude = magnitude * 10 + (m_text[m_pos] - '0');
            if (magnitude > INT_MAX)
                return false;
            ++m_pos;
            ++digits;
        }
        // The record kind is a single digit.
        if (digits == 0 || (m_number == 1 && digits != 1))
            return false;
        value = static_cast<int>(negative ? -magnitude : magnitude);
        return true;
    }

private:
    size_t SkipBlanks()
    {
        size_t first = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] == ' ')
            ++m_pos;
        return m_pos - first;
    }

    bool Take(char expected)
    {
        if (m_pos >= m_text.size() || m_text[m_pos] != expected)
            return false;
        ++m_pos;
        return true;
    }

    const std::string& m_text;
    size_t m_pos = 0;
    int m_number = 0;
};

void Send(HWND window, UINT message, LPARAM value, WPARAM target = kProgressTargetCurrent)
{
    SendMessageA(window, message, target, value);
}

void SendActionText(HWND window, const std::string& text)
{
    LPARAM heapText = NewActionText(text);
    if (heapText != 0)
        Send(window, GetProgressMessages().setActionText, heapText);
}

// "Action 14:22:05: InstallFiles. Copying new files": counting only the
// blanks not followed by ":", the name lies between the second and the third
// (its dots left out) and the description follows the third.
void ReadActionStart(const std::string& text, InstallUIState& state)
{
    state.actionName.clear();
    state.actionDescription.clear();
    size_t blanks[3] = {};
    int found = 0;
    for (size_t i = 0; i < text.size() && found < 3; ++i) {
        if (text[i] == ' ' && (i + 1 == text.size() || text[i + 1] != ':'))
            blanks[found++] = i;
    }
    if (found < 2)
        return;
    size_t nameEnd = found == 3 ? blanks[2] : text.size();
    for (size_t i = blanks[1] + 1; i < nameEnd; ++i) {
        if (text[i] != '.')
            state.actionName += text[i];
    }
    if (found == 3)
        state.actionDescription = text.substr(blanks[2] + 1);
}

void ShowActionData(HWND window, const std::string& text, const InstallUIState& state)
{
    if (state.total == 0)
        return;
    size_t separator = text.find(": ");
    bool isDescription =
        separator != std::string::npos && text.compare(separator + 2, std::string::npos, state.actionDescription) == 0;
    SendActionText(window, isDescription ? state.actionDescription : text);
    if (state.actionDataStepping)
        Send(window, GetProgressMessages().stepIt, 0);
}

void Reset(HWND window, int total, int direction, int eventType, InstallUIState& state)
{
    const ProgressMessages& ids = GetProgressMessages();
    state.total = total;
    state.forward = direction == 0;
    state.start = state.forward ? 0 : total;
    // Stepping belongs to the action information of the phase that ended.
    state.actionDataStepping = false;
    Send(window, ids.setMin, 0);
    Send(window, ids.setMax, total);
    Send(window, ids.setPos, state.scriptInProgress ? total : state.start);
    state.scriptInProgress = eventType == 1;
}

int ShowProgress(HWND window, const std::string& text, InstallUIState& state)
{
    const ProgressMessages& ids = GetProgressMessages();
    RecordReader record(text);
    int kind = 0;
    int b = 0;
    int c = 0;
    int d = 0;
    if (record.Next(kind)) {
        if (kind == 0 && record.Next(b) && record.Next(c) && record.Next(d)) {
            Reset(window, b, c, d, state);
        } else if (kind == 1 && record.Next(b) && record.Next(c)) {
            state.actionDataStepping = c != 0;
            if (state.actionDataStepping)
                Send(window, ids.setStep, state.forward ? b : -b);
        } else if (kind == 2 && record.Next(b) && state.total != 0) {
            Send(window, ids.offsetPos, state.forward ? b : -b);
        }
    }
    return state.cancelFlag != nullptr && state.cancelFlag->load() ? IDCANCEL : IDOK;
}

void ShowCommonData(HWND window, const std::string& text)
{
    RecordReader record(text);
    int kind = 0;
    int visible = 0;
    // Kind 2 tells whether the Cancel button may be shown.
    if (record.Next(kind) && kind == 2 && record.Next(visible))
        Send(window, GetProgressMessages().showButton, visible > 0 ? 1 : 0, kProgressButtonCancel);
}

} // namespace

InstallUIState& GetInstallUIState()
{
    static InstallUIState state;
    return state;
}

INT WINAPI InstallUIHandler(LPVOID context, UINT messageType, LPCSTR message)
{
    HWND window = static_cast<HWND>(context);
    // A window that is gone cannot own a box or take a heap text.
    if (window == nullptr || !IsWindow(window))
        return 0;
    InstallUIState& state = GetInstallUIState();
    const std::string text = message != nullptr ? message : "";
    const UINT style = messageType & 0x00FFFFFF;
    const WORD language = g_language;

    switch (messageType & 0xFF000000) {
    case INSTALLMESSAGE_ERROR:
        MessageBeep(messageType & 0xF0);
        return state.messageBox(window, text.c_str(), "Error", style, language);
    case INSTALLMESSAGE_WARNING:
        state.messageBox(window, text.c_str(), "Warning", style, language);
        return IDOK;
    case INSTALLMESSAGE_USER:
    case INSTALLMESSAGE_INFO:
    case INSTALLMESSAGE_OUTOFDISKSPACE:
    case INSTALLMESSAGE_INITIALIZE:
    case INSTALLMESSAGE_TERMINATE:
    case INSTALLMESSAGE_SHOWDIALOG:
        return IDOK;
    case INSTALLMESSAGE_ACTIONSTART:
        ReadActionStart(text, state);
        return IDOK;
    case INSTALLMESSAGE_ACTIONDATA:
        ShowActionData(window, text, state);
        return IDOK;
    case INSTALLMESSAGE_PROGRESS:
        return ShowProgress(window, text, state);
    case INSTALLMESSAGE_COMMONDATA:
        ShowCommonData(window, text);
        return IDOK;
    default:
        // Fatal exit, files in use, resolve source and anything newer: the
        // engine decides by itself.
        return 0;
    }
}

bool SetInstallUIHandler(HWND context, const std::atomic<bool>* cancelFlag)
{
    if (!g_msi.IsBound())
        return false;
    InstallUIState& state = GetInstallUIState();
    InstallUIState fresh;
    fresh.cancelFlag = cancelFlag;
    fresh.messageBox = state.messageBox;
    state = fresh;
    g_msi.MsiSetExternalUIA(InstallUIHandler, kAllMessageTypes, context);
    return true;
}
