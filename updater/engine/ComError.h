#pragma once

#include <windows.h>

#include <exception>
#include <string>

// A failed COM call raised to the caller, with its result code and text.
class CComError : public std::exception {
public:
    explicit CComError(HRESULT code);

    HRESULT Code() const { return m_code; }
    const std::string& Text() const { return m_text; }
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    HRESULT m_code;
    std::string m_text;
};

// The text of a COM result code: the system's message without its line
// break; else "IDispatch error #n" for the codes of the dispatch range; else
// "Unknown error 0x...".
std::string ComErrorText(HRESULT code);

inline void ThrowIfFailed(HRESULT code)
{
    if (FAILED(code))
        throw CComError(code);
}

// Shows a COM error's text in a message box under the application title.
void ShowComError(const CComError& error);

// The box ShowComError uses: MessageBoxA unless a test puts a recorder here,
// so no test ever waits for a person.
using ComErrorBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT type);
ComErrorBoxFunction& ComErrorBox();
