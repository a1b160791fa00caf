#pragma once

#include <windows.h>

#include <string>

// Checks of values below HKEY_LOCAL_MACHINE, opened for reading.

// Compares the dotted text value part by part (at most four parts) with
// a.b.c.d; the first differing part decides. A text that runs out of parts
// while equal counts as at least the version, so "7" satisfies 7.0.0.0.
// False when the value cannot be read.
bool RegistryVersionAtLeast(const std::string& key, const std::string& value, DWORD a, DWORD b, DWORD c, DWORD d);
// Whether the dotted text value, missing parts read as 0 and an unreadable
// value as 0.0.0.0, is at least a.b.c.d.
bool RegistryDottedVersionAtLeast(const std::string& key, const std::string& value, DWORD a, DWORD b, DWORD c, DWORD d);
// Whether the DWORD value equals n; false when it cannot be read.
bool RegistryDwordEquals(const std::string& key, const std::string& value, DWORD n);
// Whether the DWORD value, read as signed, is at least n; false when it cannot
// be read.
bool RegistryDwordAtLeast(const std::string& key, const std::string& value, LONG n);
