#include "ApplyElision.h"

#include <cstring>

void ApplyElision(std::string& text)
{
    if (text.find('+') == std::string::npos)
        return;
    static const struct {
        const char* marker;
        const char* elided;
    } kMarkers[] = {
        {"+DE+ ", "D'"}, {"+De+ ", "D'"}, {"+de+ ", "d'"}, {"+QUE+ ", "QU'"}, {"+Que+ ", "Qu'"}, {"+que+ ", "qu'"},
    };
    // Unaccented letters only: "+DE+ " before an accented capital stays "DE ".
    static const char kVowels[] = "AaEeIiOoUuYy";
    for (const auto& entry : kMarkers) {
        size_t position = text.find(entry.marker);
        if (position == std::string::npos)
            continue;
        size_t length = std::strlen(entry.marker);
        char next = position + length < text.size() ? text[position + length] : '\0';
        std::string replacement;
        if (next != '\0' && std::strchr(kVowels, next) != nullptr) {
            replacement = entry.elided;
        } else {
            replacement = entry.marker;
            replacement.erase(0, 1);
            replacement.erase(replacement.find('+'), 1);
        }
        text.replace(position, length, replacement);
    }
}
