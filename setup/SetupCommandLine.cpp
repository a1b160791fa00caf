#include "SetupCommandLine.h"

#include "CIniFile.h"
#include "CStringTokenizer.h"
#include "InterfaceLanguage.h"
#include "MakeFullPath.h"
#include "SetupCore.h"

#include <windows.h>

namespace {

std::string Unquoted(std::string path)
{
    if (!path.empty() && path.front() == '"')
        path.erase(0, 1);
    if (!path.empty() && path.back() == '"')
        path.pop_back();
    return path;
}

bool IsReadWriteFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// The log path as given: an opening quote goes with the last character.
std::string LogPathFromOption(std::string path)
{
    if (!path.empty() && path.front() == '"') {
        path.erase(0, 1);
        if (!path.empty())
            path.pop_back();
    }
    return path;
}

// False for an unknown option or an unusable install point.
bool ApplyOption(const std::string& name, const std::string& value, bool hasValue, SetupCommandLine& result)
{
    if (name == "?") {
        g_runKind = kRunKindUsage;
        return false;
    }
    if (name == "a") {
        g_runKind = kRunKindAdministrative;
        if (!hasValue || value.empty())
            return true;
        std::string point = Unquoted(value);
        if (point.empty() || !MakeFullPath(point))
            return false;
        g_adminInstallPoint = point;
        return true;
    }
    if (name == "l") {
        if (value == "1033" || value == "3084") {
            g_language = value == "1033" ? kLanguageEnglish : kLanguageFrench;
            result.languageGiven = true;
        }
        return true;
    }
    if (name == "log") {
        result.loggingRequested = true;
        std::string path = LogPathFromOption(value);
        result.logPath = !path.empty() && IsReadWriteFile(path) ? path : std::string();
        return true;
    }
    return false;
}

} // namespace

std::string EffectiveCommandLine(const CIniFile& ini, const std::string& arguments)
{
    return ini.GetString("Startup", "CmdLine", std::string()) + " " + arguments;
}

SetupCommandLine ParseSetupCommandLine(const std::string& commandLine)
{
    SetupCommandLine result;
    g_runKind = 0;
    g_adminInstallPoint.clear();
    CStringTokenizer tokens(commandLine, " \t\n/", CStringTokenizer::kQuoteAware);
    for (std::string token = tokens.NextToken(); !token.empty(); token = tokens.NextToken()) {
        size_t colon = token.find(':');
        bool hasValue = colon != std::string::npos;
        std::string name = token.substr(0, colon);
        std::string value = hasValue ? token.substr(colon + 1) : std::string();
        if (!ApplyOption(name, value, hasValue, result))
            result.valid = false;
    }
    if (!result.valid)
        g_runKind = kRunKindUsage;
    return result;
}
