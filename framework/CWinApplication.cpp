#include "CWinApplication.h"

namespace {

const UINT kAppTitleId = 0xE000;

std::string ModulePath(HINSTANCE instance)
{
    char path[MAX_PATH * 2] = "";
    DWORD length = GetModuleFileNameA(instance, path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

} // namespace

std::string ArgumentsOfCommandLine(const std::string& commandLine)
{
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t close = commandLine.find('"', 1);
        at = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        at = commandLine.find_first_of(" \t");
        if (at == std::string::npos)
            at = commandLine.size();
    }
    while (at < commandLine.size() && (commandLine[at] == ' ' || commandLine[at] == '\t'))
        ++at;
    return commandLine.substr(at);
}

void CWinApplication::Attach(HINSTANCE instance, const std::string& commandLine)
{
    m_instance = instance;
    m_commandLine = commandLine;
    m_exePath = ModulePath(instance);
    char title[256] = "";
    int length = LoadStringA(instance, kAppTitleId, title, sizeof title);
    m_appName = length > 0 ? std::string(title, length) : BaseName(m_exePath);
}

int CWinApplication::Run(HINSTANCE instance, const std::string& commandLine)
{
    Attach(instance, commandLine);

    if (InitInstance()) {
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        m_exitCode = static_cast<int>(msg.wParam);
    }
    return ExitInstance();
}
