#include "CShEx.h"

#include "KwHandle.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

namespace {

std::string Trim(const std::string& text)
{
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

CShEx::CShEx(const std::string& commandLine, int waitMode) : m_waitMode(waitMode)
{
    // The path functions work in place and may grow the text by two quotes
    // and a backslash.
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.resize(buffer.size() + MAX_PATH, '\0');
    PathRemoveArgsA(buffer.data());
    m_file = buffer.data();
    m_parameters = Trim(commandLine.substr(std::min(m_file.size(), commandLine.size())));

    PathUnquoteSpacesA(buffer.data());
    PathRemoveFileSpecA(buffer.data());
    PathAddBackslashA(buffer.data());
    PathQuoteSpacesA(buffer.data());
    m_folder = buffer.data();
}

UINT CShEx::Launch()
{
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | (m_waitMode != kNoWait ? SEE_MASK_NOCLOSEPROCESS : 0);
    info.lpFile = m_file.empty() ? nullptr : m_file.c_str();
    info.lpDirectory = m_folder.empty() ? nullptr : m_folder.c_str();
    info.lpParameters = m_parameters.empty() ? nullptr : m_parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info))
        return GetLastError();
    KwHandle process(info.hProcess);
    if (process.IsValid() && m_waitMode == kWaitForExit) {
        WaitForSingleObject(process.Get(), INFINITE);
        GetExitCodeProcess(process.Get(), &m_exitCode);
    } else if (process.IsValid() && m_waitMode == kWaitForIdle) {
        WaitForInputIdle(process.Get(), 120000);
    }
    return ERROR_SUCCESS;
}

UINT RunCommandLine(const std::string& commandLine, int waitMode)
{
    return CShEx(commandLine, waitMode).Launch();
}
