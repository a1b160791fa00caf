#pragma once

#include "FuzzInputs.h"

#include <cstdint>
#include <string>

class FuzzSandbox;

// Feeds one input through the product's own code, the way the programs
// read it. Returns what was found wrong (an unsafe result, a broken rule),
// empty when nothing was. A crash or a hang is the caller's to notice.

// Loads the catalog (from memory, or now and then from a file as the
// update check does), reports dropped updates and sources, then runs the
// check's product choice, the chain selection, the dependency resolution
// and the selection, with the sandbox's cache as working folder.
std::string FeedCatalog(const std::string& text, uint64_t seed, uint64_t index, const FuzzSandbox& sandbox);
// Reads the properties, the packages and their prerequisite lists, and
// parses the ini's command line.
std::string FeedSetupIni(const std::string& text, uint64_t index, const FuzzSandbox& sandbox);
// Parses the line with setup's and the updater's parsers.
std::string FeedCommandLine(const std::string& text);
