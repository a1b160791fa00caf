#include "WorkerReports.h"

#include "CDialog.h"
#include "CKWLogFile.h"
#include "CKWUpdateCatalog.h"
#include "CResString.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"
#include "SystemMessage.h"

#include <string>

namespace {

enum ReportString {
    kStringErrorWithCode = 230,
    kStringSystemError = 231,
};

// The system's text for an error in the interface language, else in US
// English, without the line break the system ends it with.
std::string LocalizedSystemText(DWORD code)
{
    WORD primary = g_language == kLanguageFrench ? LANG_FRENCH : LANG_ENGLISH;
    std::string text = GetSystemErrorText(code, MAKELANGID(primary, SUBLANG_DEFAULT));
    if (text.empty() && primary != LANG_ENGLISH)
        text = GetSystemErrorText(code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    return text;
}

const CServerStatus* ServerStatus()
{
    const CServerStatus* status = CKWUpdateCatalog::GetInstance().GetServerStatus();
    if (status != nullptr)
        LogMessage("Message from server: %s", status->GetMessageText().c_str());
    return status;
}

} // namespace

void ShowTaskInterrupted(const CDialog& dialog, int stringId, UINT boxFlags)
{
    if (const CServerStatus* status = ServerStatus()) {
        dialog.MessageBox(status->GetMessageText(), MB_OK | MB_ICONWARNING);
    } else if (stringId != 0) {
        CResString text(stringId);
        LogMessage("Error %d: %s", stringId, text.c_str());
        dialog.MessageBox(text, boxFlags);
    }
}

void ShowTaskInterruptedWinErr(const CDialog& dialog, DWORD code)
{
    std::string text;
    if (const CServerStatus* status = ServerStatus()) {
        text = status->GetMessageText();
    } else if (code != 0) {
        text = LocalizedSystemText(code);
        LogMessage("Error %d: %s", static_cast<int>(code), text.c_str());
    }
    std::string box;
    if (!text.empty())
        LoadFormatted(box, kStringErrorWithCode, text.c_str(), static_cast<int>(code));
    else
        LoadFormatted(box, kStringSystemError, static_cast<int>(code));
    dialog.MessageBox(box, MB_OK | MB_ICONWARNING);
}

void DiscardPendingActionTexts(HWND dialog)
{
    UINT setActionText = GetRegisteredMessages().progressSetActionText;
    MSG message;
    while (PeekMessageA(&message, dialog, setActionText, setActionText, PM_REMOVE))
        TakeActionText(message.lParam);
}
