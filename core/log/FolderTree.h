#pragma once

#include <windows.h>

#include <string>

// Creates the folder and every missing parent. True when the folder exists
// afterwards.
bool CreateFolderTree(const std::string& path, LPSECURITY_ATTRIBUTES security);
