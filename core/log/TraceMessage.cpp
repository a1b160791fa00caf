#include "TraceMessage.h"

#include "FormatText.h"
#include "HeapText.h"
#include "RegisteredMessages.h"

bool g_showDebugMessages = false;

UINT WriteToLogMessageId()
{
    return GetRegisteredMessages().writeToLog;
}

int TraceMessage(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);

    char* heapText = NewHeapText(text);
    if (heapText == nullptr)
        return 0;

    OutputDebugStringA(heapText);
    // The box comes before the post: its modal loop would take the thread
    // message off the queue and drop it.
    if (g_showDebugMessages)
        MessageBoxA(nullptr, text.c_str(), "DebugMsg", MB_OK | MB_ICONINFORMATION);
    // A thread without a message queue cannot receive the text: free it here
    // rather than leaking it.
    if (!PostThreadMessageA(GetCurrentThreadId(), WriteToLogMessageId(), reinterpret_cast<WPARAM>(heapText), 0))
        delete[] heapText;
    return 1;
}

std::string TakeTracedText(WPARAM text)
{
    return TakeHeapText(reinterpret_cast<char*>(text));
}
