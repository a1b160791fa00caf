#include "WaitPumping.h"

#include "SystemMessage.h"
#include "TraceMessage.h"

#include <vector>

namespace {

void PostAgain(const std::vector<MSG>& threadMessages)
{
    for (const MSG& msg : threadMessages) {
        if (!PostThreadMessageA(GetCurrentThreadId(), msg.message, msg.wParam, msg.lParam) &&
            msg.message == WriteToLogMessageId())
            TakeTracedText(msg.wParam);
    }
}

} // namespace

UINT WaitPumping(HANDLE process)
{
    std::vector<MSG> threadMessages;
    UINT result = ERROR_SUCCESS;
    for (;;) {
        // Input already queued also wakes the wait, so messages that arrived
        // together are not left until the next input.
        DWORD wake = MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (wake == WAIT_OBJECT_0)
            break;
        if (wake != WAIT_OBJECT_0 + 1) {
            result = LastErrorCode();
            break;
        }
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            continue;
        if (msg.hwnd == nullptr) {
            threadMessages.push_back(msg);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    PostAgain(threadMessages);
    return result;
}
