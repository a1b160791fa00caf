#include "SystemMessage.h"

#include "ProductDescriptor.h"
#include "TraceMessage.h"

std::string GetSystemErrorText(DWORD code)
{
    return GetSystemErrorText(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
}

std::string GetSystemErrorText(DWORD code, LANGID language)
{
    char* buffer = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, language, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (buffer != nullptr) {
        text.assign(buffer, length);
        LocalFree(buffer);
    }
    return text;
}

void ShowSystemMessage(DWORD code)
{
    std::string text = GetSystemErrorText(code);
    MessageBoxA(nullptr, text.c_str(), GetProductDescriptor().AppTitle.c_str(),
                MB_OK | (code != 0 ? MB_ICONWARNING : MB_ICONINFORMATION));
    TraceMessage("System message: %d - %s", static_cast<int>(code), text.c_str());
}

UINT LastErrorCode()
{
    DWORD code = GetLastError();
    return code != ERROR_SUCCESS ? code : ERROR_FUNCTION_FAILED;
}
