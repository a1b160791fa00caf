#include "CacheFile.h"

#include "CCrc32.h"
#include "CSha256.h"
#include "CUpdateItem.h"
#include "ExpandEnvironment.h"
#include "IsPlainFileName.h"
#include "MakeFullPath.h"

#include <cstdint>

std::string CacheFilePath(const std::string& cacheFolder, const std::string& fileName)
{
    // The installables expand environment references in their paths.
    std::string expanded = fileName;
    ExpandEnvironment(expanded);
    if (!IsPlainFileName(fileName) || expanded != fileName || cacheFolder.empty())
        return std::string();
    std::string folder = cacheFolder;
    std::string full = cacheFolder + fileName;
    if (!MakeFullPath(folder) || !MakeFullPath(full))
        return std::string();
    if (folder.back() != '\\')
        folder += '\\';
    // Whatever the system makes of the name, the file must sit directly in
    // the cache folder.
    size_t slash = full.find_last_of('\\');
    if (slash == std::string::npos || slash + 1 == full.size() ||
        _stricmp(full.substr(0, slash + 1).c_str(), folder.c_str()) != 0)
        return std::string();
    return cacheFolder + fileName;
}

bool VerifyCacheFile(const CUpdateItem& update, const std::string& cacheFolder, DWORD& error)
{
    error = 0;
    const std::string path = CacheFilePath(cacheFolder, update.GetFileName());
    if (path.empty()) {
        error = ERROR_INVALID_NAME;
        return false;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    FindClose(search);
    static const CCrc32 crc32;
    std::uint32_t crc = 0;
    error = crc32.ComputeFile(path, crc);
    if (error != 0 || crc != update.GetFileCrc())
        return false;
    if (update.GetFileSha256().empty())
        return true;
    CSha256::Digest digest;
    error = CSha256::ComputeFile(path, digest);
    if (error == 0 && CSha256::ToHex(digest) != update.GetFileSha256())
        error = kErrorDataChecksum;
    return error == 0;
}
