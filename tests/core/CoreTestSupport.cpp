#include "CoreTestSupport.h"

#include "TraceMessage.h"

namespace {

std::vector<ShownBox> g_shownBoxes;
std::deque<int> g_boxAnswers;

int RecordBox(HWND, const char* text, const char* caption, UINT type)
{
    g_shownBoxes.push_back({text, caption, type});
    if (g_boxAnswers.empty())
        return IDOK;
    int answer = g_boxAnswers.front();
    g_boxAnswers.pop_front();
    return answer;
}

} // namespace

void CoreTest::SetUp()
{
    m_saved = GetSetupCore();
    m_savedRunKind = g_runKind;
    m_savedLanguage = g_language;
    g_shownBoxes.clear();
    g_boxAnswers.clear();
    GetSetupCore().messageBox = RecordBox;
    GetSetupCore().caption = "Melvaro 2012";
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // gives this thread a queue
    TakeTraces();
}

void CoreTest::TearDown()
{
    TakeTraces();
    GetSetupCore() = m_saved;
    g_runKind = m_savedRunKind;
    g_language = m_savedLanguage;
    g_adminInstallPoint.clear();
}

std::vector<std::string> CoreTest::TakeTraces()
{
    std::vector<std::string> traces;
    UINT id = WriteToLogMessageId();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, id, id, PM_REMOVE))
        traces.push_back(TakeTracedText(msg.wParam));
    return traces;
}

std::vector<std::string> CoreTest::TakeBoxTexts()
{
    std::vector<std::string> texts;
    for (const ShownBox& box : g_shownBoxes)
        texts.push_back(box.text);
    g_shownBoxes.clear();
    return texts;
}

std::vector<ShownBox>& CoreTest::Boxes()
{
    return g_shownBoxes;
}

std::deque<int>& CoreTest::Answers()
{
    return g_boxAnswers;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : m_name(name)
{
    SetEnvironmentVariableA(name, value.c_str());
}

ScopedEnvironment::~ScopedEnvironment()
{
    SetEnvironmentVariableA(m_name.c_str(), nullptr);
}

std::string FirstOf(const std::vector<std::string>& texts)
{
    return texts.empty() ? "<none>" : texts.front();
}

std::string LastOf(const std::vector<std::string>& texts)
{
    return texts.empty() ? "<none>" : texts.back();
}

std::string TestProgramFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

KwHandle StartProgram(const std::string& commandLine)
{
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return KwHandle();
    KwHandle thread(started.hThread);
    return KwHandle(started.hProcess);
}

DWORD RunProgram(const std::string& commandLine)
{
    KwHandle process = StartProgram(commandLine);
    DWORD exitCode = ~0u;
    if (process.IsValid() && WaitForSingleObject(process.Get(), 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
}
