#include "CKWLogFile.h"

#include "FolderTree.h"
#include "FormatText.h"
#include "KwHandle.h"

#include <cstdio>
#include <stdexcept>

CKWLogFile* g_logFile = nullptr;

namespace {

std::string StripQuotes(std::string path)
{
    if (!path.empty() && path.front() == '"')
        path.erase(0, 1);
    if (!path.empty() && path.back() == '"')
        path.pop_back();
    return path;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace

CKWLogFile::CKWLogFile(const std::string& path, bool append) : m_path(StripQuotes(path))
{
    if (m_path.empty())
        throw std::invalid_argument("log file path is empty");
    InitializeCriticalSection(&m_lock);
    CreateFolderTree(FolderOf(m_path), nullptr);
    // Opening once creates the file, and empties it unless appending; a file
    // that cannot be created is not an error: lines are then dropped.
    KwHandle file(CreateFileA(m_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

CKWLogFile::~CKWLogFile()
{
    DeleteCriticalSection(&m_lock);
}

std::string FormatLogLine(const SYSTEMTIME& localTime, const std::string& text)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d/%02d/%02d-%02d:%02d:%02d", localTime.wYear % 100, localTime.wMonth,
                  localTime.wDay, localTime.wHour, localTime.wMinute, localTime.wSecond);
    std::string line = "~D=";
    line += stamp;
    line += "   ~M=";
    line += text;
    if (line.back() != '\n')
        line += '\n';
    return line;
}

void CKWLogFile::Write(const std::string& text)
{
    EnterCriticalSection(&m_lock);
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string line = FormatLogLine(now, text);
    KwHandle file(CreateFileA(m_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.IsValid()) {
        DWORD written = 0;
        WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    OutputDebugStringA(line.c_str());
    LeaveCriticalSection(&m_lock);
}

int LogMessage(const char* format, ...)
{
    if (g_logFile == nullptr)
        return 0;
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    g_logFile->Write(text);
    return static_cast<int>(text.size());
}

void RotateToBackup(const std::string& path)
{
    // Without a current log there is nothing newer to keep: the backup stays.
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    std::string backup = path + ".bak";
    if (GetFileAttributesA(backup.c_str()) != INVALID_FILE_ATTRIBUTES)
        DeleteFileA(backup.c_str());
    MoveFileA(path.c_str(), backup.c_str());
}
