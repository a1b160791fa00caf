#include "FuzzSandbox.h"

#include <windows.h>

#include <algorithm>

namespace {

// Deletes the tree below the folder, and the folder unless told to keep it.
void RemoveTree(const std::string& folder, bool keepFolder)
{
    for (const std::string& name : ListFolder(folder)) {
        std::string path = folder + "\\" + name;
        DWORD attributes = GetFileAttributesA(path.c_str());
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            RemoveTree(path, false);
        else
            DeleteFileA(path.c_str());
    }
    if (!keepFolder)
        RemoveDirectoryA(folder.c_str());
}

void CollectTree(const std::string& folder, std::vector<std::string>& paths)
{
    for (const std::string& name : ListFolder(folder)) {
        std::string path = folder + "\\" + name;
        paths.push_back(path);
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            CollectTree(path, paths);
    }
}

} // namespace

std::vector<std::string> ListFolder(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool WriteFuzzFile(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

FuzzSandbox::FuzzSandbox()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_root = std::string(temp) + "kwfuzz-" + std::to_string(GetCurrentProcessId());
    RemoveTree(m_root, false);
    CreateDirectoryA(m_root.c_str(), nullptr);
    CreateDirectoryA(Cache().c_str(), nullptr);
    CreateDirectoryA((m_root + "\\input").c_str(), nullptr);
}

FuzzSandbox::~FuzzSandbox()
{
    RemoveTree(m_root, false);
}

std::vector<std::string> FuzzSandbox::TakeWrites()
{
    std::vector<std::string> writes;
    for (const std::string& name : ListFolder(m_root)) {
        if (name == "cache")
            CollectTree(Cache(), writes);
        else if (name != "input")
            writes.push_back(m_root + "\\" + name);
    }
    for (const std::string& path : writes) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(path.c_str()))
            RemoveTree(path, false);
    }
    return writes;
}
