#pragma once

#include <windows.h>

#include <functional>
#include <map>

// Registered window messages routed to the member handlers a window
// registered for them, so workers and sibling windows reach a dialog or a
// sheet without a switch.
class MessageHandlerTable {
public:
    using Handler = std::function<void(WPARAM, LPARAM)>;

    void Add(UINT message, Handler handler) { m_handlers[message] = std::move(handler); }
    // True when the message had a handler, which has run.
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        auto handler = m_handlers.find(message);
        if (handler == m_handlers.end())
            return false;
        handler->second(wParam, lParam);
        return true;
    }

private:
    std::map<UINT, Handler> m_handlers;
};
