#include "LaunchProcess.h"

#include "KwHandle.h"

#include <vector>

bool LaunchProcess(const std::string& commandLine, LaunchWait wait, bool hidden, const std::string& folder,
                   const std::string& program)
{
    char title[] = "Pelmarin";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.lpTitle = title;
    startup.dwX = 0;
    startup.dwY = 0;
    startup.dwXSize = 800;
    startup.dwYSize = 600;
    startup.dwXCountChars = 80;
    startup.dwYCountChars = 25;
    startup.dwFillAttribute = FOREGROUND_BLUE | FOREGROUND_GREEN | FOREGROUND_RED | BACKGROUND_BLUE;
    startup.dwFlags =
        STARTF_USESHOWWINDOW | STARTF_USEPOSITION | STARTF_USESIZE | STARTF_USECOUNTCHARS | STARTF_USEFILLATTRIBUTE;
    startup.wShowWindow = hidden ? SW_HIDE : SW_SHOW;

    // CreateProcessA may write into the command line.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(program.empty() ? nullptr : program.c_str(), writable.data(), nullptr, nullptr, TRUE,
                        NORMAL_PRIORITY_CLASS | CREATE_NEW_CONSOLE, nullptr, folder.empty() ? nullptr : folder.c_str(),
                        &startup, &started))
        return false;
    KwHandle process(started.hProcess);
    KwHandle thread(started.hThread);
    if (wait == kLaunchWaitForExit)
        WaitForSingleObject(process.Get(), INFINITE);
    else if (wait == kLaunchWaitForInputIdle)
        WaitForInputIdle(process.Get(), INFINITE);
    return true;
}
