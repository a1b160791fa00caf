#include "FolderTree.h"

#include <io.h>

bool CreateFolderTree(const std::string& path, LPSECURITY_ATTRIBUTES security)
{
    std::string folder = path;
    while (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/') && folder[folder.size() - 2] != ':')
        folder.pop_back();
    if (folder.empty() || _access(folder.c_str(), 6) == 0)
        return true;
    size_t slash = folder.find_last_of("\\/");
    if (slash != std::string::npos && slash > 0)
        CreateFolderTree(folder.substr(0, slash), security);
    if (CreateDirectoryA(folder.c_str(), security))
        return true;
    // Another process may have created it in the meantime; that is success.
    if (GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
