#pragma once

#include <windows.h>

#include <string>

class CThread;

// A failure of the thread framework. Thrown as a heap object; whoever
// catches it deletes it.
class CThreadException {
public:
    enum Code {
        kCreateFailed = 1,
        kAlreadyStarted = 2,
        kTerminateFailed = 3,
        kEventFailed = 4,
        kPostFailed = 5,
    };

    CThreadException(CThread* thread, const std::string& message, int code)
        : m_thread(thread), m_message(message), m_code(code)
    {
    }
    virtual ~CThreadException() = default;

    CThread* GetThread() const { return m_thread; }
    const std::string& GetMessageText() const { return m_message; }
    int GetCode() const { return m_code; }

    // Shows the message, or the string resource when one is named, in the
    // core's message box with the given style; returns the button pressed.
    virtual int ReportError(UINT type = MB_OK, UINT messageId = 0) const;

private:
    CThread* m_thread;
    std::string m_message;
    int m_code;
};
