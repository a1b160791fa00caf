#pragma once

#include <windows.h>

#include <string>

// The program's plain-text log. Each line is written and the file closed
// again, so other processes can read or append to the log at any time.
class CKWLogFile {
public:
    // Throws std::invalid_argument for an empty path. With append false an
    // existing file is emptied; with append true it is kept.
    CKWLogFile(const std::string& path, bool append);
    virtual ~CKWLogFile();
    CKWLogFile(const CKWLogFile&) = delete;
    CKWLogFile& operator=(const CKWLogFile&) = delete;

    void Write(const std::string& text);
    const std::string& GetPath() const { return m_path; }

private:
    std::string m_path;
    CRITICAL_SECTION m_lock;
};

// Builds one log line: "~D=" local time "   ~M=" text, ending in one line feed.
std::string FormatLogLine(const SYSTEMTIME& localTime, const std::string& text);

// The one log of the process; null while logging is off.
extern CKWLogFile* g_logFile;

// Writes a printf-style line to g_logFile. Returns the length of the text, or
// 0 when logging is off.
int LogMessage(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

// Keeps exactly one older generation: "<path>.bak" is replaced by the current
// file, so a fresh log can start at path.
void RotateToBackup(const std::string& path);
