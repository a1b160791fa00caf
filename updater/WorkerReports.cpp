#include "WorkerReports.h"

#include "CDialog.h"
#include "CKWLogFile.h"
#include "CKWUpdateCatalog.h"
#include "CResString.h"
#include "LocalizedSystemText.h"
#include "ProgressMessages.h"
#include "RegisteredMessages.h"

#include <string>

namespace {

// The server's own message, which explains a failure better than ours.
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
    dialog.MessageBox(FailureWithCode(text, code), MB_OK | MB_ICONWARNING);
}

void DiscardPendingActionTexts(HWND dialog)
{
    UINT setActionText = GetRegisteredMessages().progressSetActionText;
    MSG message;
    while (PeekMessageA(&message, dialog, setActionText, setActionText, PM_REMOVE))
        TakeActionText(message.lParam);
}
