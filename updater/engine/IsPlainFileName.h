#pragma once

#include <string>

// True when the text names one file in the folder it is joined to: no path
// separator, drive or stream colon, "..", wildcard or other character Windows
// refuses in a name, no control character, not a device such as "NUL" or
// "com1.msp", and not ending in a dot or space (Windows would strip them
// and open another name). A name from outside (the catalog) must pass this
// before it is joined to a folder.
bool IsPlainFileName(const std::string& name);
