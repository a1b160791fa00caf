// Stands in for the product's main program: a window showing its version
// (from its version resource, or "/version:X" on the command line) that
// answers the updater's request to shut down. KWMAIN_ANSWER chooses the
// answer: "accept" (the default: signal, then exit), "refuse", "silent"
// (take the request, never answer), "delay:MS" / "delay:MS:refuse" (answer
// after MS milliseconds) or "hang:MS" (hold the request MS milliseconds
// before taking it, then answer nothing). KWMAIN_WINDOW=hidden keeps the window invisible.
// Each request and answer is appended as one line to the file named by
// KWMAIN_LOG.
#include "ProductDescriptor.h"

#include "EnvironmentValue.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

const ULONG_PTR kShutdownRequestId = 2308;
const DWORD kRequestSize = 300;
const size_t kCodeSize = 40;
const size_t kPathSize = 260;
const UINT_PTR kAnswerTimer = 1;

void Log(const std::string& line)
{
    std::string log = EnvironmentValue("KWMAIN_LOG");
    if (log.empty())
        return;
    std::ofstream file(log, std::ios::binary | std::ios::app);
    file << line << "\r\n";
}

std::string ResourceVersion()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    std::string data(size, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoA(path, 0, size, &data[0]) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr)
        return "unknown";
    char text[64];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                  HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    return text;
}

std::string CommandLineVersion()
{
    const char* option = std::strstr(GetCommandLineA(), "/version:");
    if (option == nullptr)
        return std::string();
    std::string version = option + std::strlen("/version:");
    return version.substr(0, version.find(' '));
}

// The bytes of a fixed-size text field up to its first zero.
std::string Field(const char* bytes, size_t size)
{
    return std::string(bytes, strnlen(bytes, size));
}

struct Settings {
    bool silent = false;
    bool refuse = false;
    unsigned long delayMs = 0;
    unsigned long hangMs = 0;
};

Settings ReadSettings()
{
    Settings settings;
    std::string answer = EnvironmentValue("KWMAIN_ANSWER");
    settings.silent = answer == "silent" || answer.compare(0, 5, "hang:") == 0;
    settings.refuse = answer == "refuse" || answer.find(":refuse") != std::string::npos;
    if (answer.compare(0, 6, "delay:") == 0)
        settings.delayMs = std::strtoul(answer.c_str() + 6, nullptr, 10);
    if (answer.compare(0, 5, "hang:") == 0)
        settings.hangMs = std::strtoul(answer.c_str() + 5, nullptr, 10);
    return settings;
}

Settings g_settings;

void Answer(HWND window)
{
    const std::string& code = GetProductDescriptor().UpdaterCode;
    std::string name = code + (g_settings.refuse ? "_REFUSED" : "_ACCEPTED");
    // Logged before the signal: the updater, and a test, go on at once.
    Log(g_settings.refuse ? "refused" : "accepted");
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str());
    if (event == nullptr || !SetEvent(event))
        Log("no event " + name);
    if (event != nullptr)
        CloseHandle(event);
    if (!g_settings.refuse)
        DestroyWindow(window);
}

LRESULT OnCopyData(HWND window, HWND sender, const COPYDATASTRUCT& data)
{
    if (data.dwData != kShutdownRequestId || data.cbData != kRequestSize || data.lpData == nullptr) {
        Log("ignored id=" + std::to_string(data.dwData) + " size=" + std::to_string(data.cbData));
        return 0;
    }
    const char* bytes = static_cast<const char*>(data.lpData);
    std::string code = Field(bytes, kCodeSize);
    std::string path = Field(bytes + kCodeSize, kPathSize);
    Log("request code=" + code + " path=" + path + " sender=" + (sender != nullptr ? "window" : "none"));
    if (code != GetProductDescriptor().UpdaterCode) {
        Log("ignored: not our updater");
        return 0;
    }
    // The updater waits for this reply before it listens for the answer.
    Sleep(g_settings.hangMs);
    if (g_settings.silent)
        Log("silent");
    else if (g_settings.delayMs != 0)
        SetTimer(window, kAnswerTimer, g_settings.delayMs, nullptr);
    else
        PostMessageA(window, WM_TIMER, kAnswerTimer, 0);
    return TRUE;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COPYDATA:
        return OnCopyData(window, reinterpret_cast<HWND>(wParam), *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_TIMER:
        if (wParam == kAnswerTimer) {
            KillTimer(window, kAnswerTimer);
            Answer(window);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    g_settings = ReadSettings();
    std::string version = CommandLineVersion();
    if (version.empty())
        version = ResourceVersion();
    std::string title = GetProductDescriptor().AppName + " " + version;

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "KwMainStandIn";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("KwMainStandIn", title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 420,
                                160, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    std::string label = "Version " + version;
    CreateWindowA("STATIC", label.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 40, 380, 24, window, nullptr,
                  instance, nullptr);
    if (EnvironmentValue("KWMAIN_WINDOW") != "hidden")
        ShowWindow(window, show);
    Log("started " + version);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
