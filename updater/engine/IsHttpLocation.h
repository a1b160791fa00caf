#pragma once

#include <string>

// True for a location the updater fetches over HTTP: one that begins with
// "http://" or "https://" in any case. Anything else is a folder or file.
bool IsHttpLocation(const std::string& location);
