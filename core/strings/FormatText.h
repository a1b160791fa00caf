#pragma once

#include <cstdarg>
#include <string>

// printf-style formatting into a string that always holds the whole result,
// however long it is.
std::string FormatTextV(const char* format, va_list args);
std::string FormatText(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

// "&" shows as itself only doubled in a control's text (single, it marks
// the keyboard shortcut).
std::string DoubleAmpersands(const std::string& text);
