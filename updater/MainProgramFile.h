#pragma once

#include <string>

// The product's main program file: the descriptor's MainProgramPath with the
// installed folder, ended by a backslash, in place of "[INSTALLDIR]".
std::string MainProgramFile(const std::string& installFolder);

// The product's installed folder as the setup recorded it in the registry,
// or the descriptor's default; as stored, with or without a final backslash.
std::string InstalledFolder();
