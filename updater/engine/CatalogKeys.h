#pragma once

#include <string>
#include <vector>

// The value, under the machine's copy of the updates key
// (HKEY_LOCAL_MACHINE\Software\Zentrel\Melvaro 2012\Updates), where an
// administrator adds catalog keys. A standard user cannot write there.
extern const char* const kCatalogKeysValueName;

// Splits a list of public key texts at white space, commas and semicolons.
std::vector<std::string> SplitCatalogKeys(const std::string& text);

// The public keys the product trusts to sign its catalogs: those compiled
// into the product descriptor, then those of the machine's registry value
// (a string or a multi-string). Empty: catalogs are not signed.
std::vector<std::string> GetCatalogKeys();
