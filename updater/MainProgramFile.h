#pragma once

#include <string>

// The product's main program file: the descriptor's MainProgramPath with the
// installed folder, ended by a backslash, in place of "[INSTALLDIR]".
std::string MainProgramFile(const std::string& installFolder);
