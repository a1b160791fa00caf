#include "ComText.h"

#include "ComError.h"

namespace {

BSTR NewBstr(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    if (result == nullptr)
        throw CComError(E_OUTOFMEMORY);
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result, length);
    return result;
}

} // namespace

void ComVariant::SetText(const std::string& text)
{
    BSTR value = NewBstr(text);
    VariantClear(&m_value);
    m_value.vt = VT_BSTR;
    m_value.bstrVal = value;
}

ComBstr ToBstr(const std::string& text)
{
    return ComBstr(NewBstr(text));
}

std::string FromBstr(BSTR text)
{
    // Without best fit: a fullwidth "<" or backslash must not turn into markup
    // or a path separator.
    int wideLength = static_cast<int>(SysStringLen(text));
    if (wideLength == 0)
        return std::string();
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, wideLength, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, wideLength, &result[0], length, nullptr, nullptr);
    return result;
}
