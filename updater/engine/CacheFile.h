#pragma once

#include <windows.h>

#include <string>

class CUpdateItem;

// ERROR_DATA_CHECKSUM_ERROR, which the cross compiler's headers lack: the file
// has the catalog's CRC but not its SHA-256.
const DWORD kErrorDataChecksum = 323;

// The path of a cached file: the cache folder (ending with a backslash)
// followed by the name. Empty when the name would lead anywhere else: a
// path, a device, a stream, a wildcard, or an environment reference the
// installables would expand.
std::string CacheFilePath(const std::string& cacheFolder, const std::string& fileName);

// True when the update's file is in the cache with the catalog's CRC-32 and,
// when the catalog gives one, its SHA-256. The size is not compared. On false
// the error is the Windows error of the file search or of reading the file,
// ERROR_INVALID_NAME for a name outside the cache, 0 when the file exists and
// only its CRC differs, or kErrorDataChecksum when only its SHA-256 differs.
bool VerifyCacheFile(const CUpdateItem& update, const std::string& cacheFolder, DWORD& error);
