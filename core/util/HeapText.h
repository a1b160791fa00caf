#pragma once

#include <string>

// Texts handed to another thread or window through a message parameter: the
// sender allocates, the receiver takes the text and frees it.

// A heap copy of the text (new[]); null when memory ran out.
char* NewHeapText(const std::string& text);

// Takes ownership of a heap text, frees it and returns its contents; null
// gives an empty text.
std::string TakeHeapText(char* heapText);
