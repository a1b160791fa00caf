#pragma once

#include <string>

// Replaces a path by its absolute form. An empty path stays empty and counts
// as success; false (path unchanged) when the system cannot form it.
bool MakeFullPath(std::string& path);
