#include "HeapText.h"

#include <cstring>
#include <new>

char* NewHeapText(const std::string& text)
{
    char* heapText = new (std::nothrow) char[text.size() + 1];
    if (heapText != nullptr)
        std::memcpy(heapText, text.c_str(), text.size() + 1);
    return heapText;
}

std::string TakeHeapText(char* heapText)
{
    if (heapText == nullptr)
        return std::string();
    std::string result(heapText);
    delete[] heapText;
    return result;
}
