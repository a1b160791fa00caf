#pragma once

#include <string>

// The message a server sends instead of the catalog when it refuses or
// cannot serve it.
class CServerStatus {
public:
    CServerStatus(int code, const std::string& message) : m_code(code), m_message(message) {}
    virtual ~CServerStatus() = default;

    int GetCode() const { return m_code; }
    const std::string& GetMessageText() const { return m_message; }

private:
    int m_code;
    std::string m_message;
};
