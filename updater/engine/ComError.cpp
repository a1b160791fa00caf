#include "ComError.h"

#include "FormatText.h"
#include "ProductDescriptor.h"
#include "SystemMessage.h"

namespace {

// Interface-specific codes from 0x200 up carry a dispatch error number.
const unsigned long kDispatchErrorFirst = 0x80040200UL;
const unsigned long kDispatchErrorLast = 0x8004FFFFUL;

} // namespace

CComError::CComError(HRESULT code) : m_code(code), m_text(ComErrorText(code))
{
}

std::string ComErrorText(HRESULT code)
{
    std::string text = GetSystemErrorText(static_cast<DWORD>(code));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    if (!text.empty())
        return text;
    unsigned long value = static_cast<unsigned long>(code);
    if (value >= kDispatchErrorFirst && value <= kDispatchErrorLast)
        return FormatText("IDispatch error #%d", static_cast<int>(value - kDispatchErrorFirst));
    return FormatText("Unknown error 0x%0lX", value);
}

void ShowComError(const CComError& error)
{
    ComErrorBox()(nullptr, error.Text().c_str(), GetProductDescriptor().AppTitle.c_str(), MB_OK | MB_ICONERROR);
}

ComErrorBoxFunction& ComErrorBox()
{
    static ComErrorBoxFunction box = MessageBoxA;
    return box;
}
