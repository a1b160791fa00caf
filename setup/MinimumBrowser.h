#pragma once

#include <string>

class CIniFile;

// Whether the browser version named by [Properties] "MINIMUM_IE" (IE4 for an
// unknown name) is present. When it is not, `message` holds what to tell the
// user; it stays empty when no prerequisite exists for the name.
bool CheckMinimumBrowser(const CIniFile& ini, std::string& message);
