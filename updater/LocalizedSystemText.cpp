#include "LocalizedSystemText.h"

#include "CResString.h"
#include "InterfaceLanguage.h"
#include "SystemMessage.h"

namespace {

enum FailureString {
    kStringErrorWithCode = 230,
    kStringSystemError = 231,
};

} // namespace

std::string LocalizedSystemText(DWORD code)
{
    WORD primary = g_language == kLanguageFrench ? LANG_FRENCH : LANG_ENGLISH;
    std::string text = GetSystemErrorText(code, MAKELANGID(primary, SUBLANG_DEFAULT));
    if (text.empty() && primary != LANG_ENGLISH)
        text = GetSystemErrorText(code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    return text;
}

std::string FailureWithCode(const std::string& text, DWORD code)
{
    std::string line;
    if (!text.empty())
        LoadFormatted(line, kStringErrorWithCode, text.c_str(), static_cast<int>(code));
    else
        LoadFormatted(line, kStringSystemError, static_cast<int>(code));
    return line;
}
