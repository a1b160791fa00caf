#pragma once

#include <windows.h>

#include <string>

// A registry failure. Thrown as a pointer to a heap object; the handler that
// catches it deletes it.
class KwRegistryException {
public:
    explicit KwRegistryException(LONG code) : m_code(code) {}
    // The system text for the code, fetched on first request.
    virtual const std::string& GetMessageText();
    virtual ~KwRegistryException() = default;

    LONG GetCode() const { return m_code; }

private:
    std::string m_message;
    LONG m_code;
};
