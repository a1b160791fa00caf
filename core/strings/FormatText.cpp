#include "FormatText.h"

#include <cstdio>
#include <vector>

std::string FormatTextV(const char* format, va_list args)
{
    if (format == nullptr)
        return std::string();
    // The first attempt fits most texts; the formatter then reports the exact
    // length needed, so at most one more pass is made.
    std::vector<char> buffer(512);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(buffer.data(), buffer.size(), format, copy);
    va_end(copy);
    if (needed < 0)
        return std::string();
    if (static_cast<size_t>(needed) >= buffer.size()) {
        buffer.resize(static_cast<size_t>(needed) + 1);
        va_copy(copy, args);
        std::vsnprintf(buffer.data(), buffer.size(), format, copy);
        va_end(copy);
    }
    return std::string(buffer.data(), static_cast<size_t>(needed));
}

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    return text;
}

std::string DoubleAmpersands(const std::string& text)
{
    std::string doubled;
    for (char c : text) {
        doubled += c;
        if (c == '&')
            doubled += '&';
    }
    return doubled;
}
