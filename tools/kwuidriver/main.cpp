// Drives another program's windows for the GUI tests, as a person would:
//   kwuidriver wait   WINDOW                   prints the window's handle
//   kwuidriver texts  WINDOW                   id, class, text, enabled, visible of each control
//   kwuidriver click  WINDOW --id N | --text T presses a button once it is enabled
//   kwuidriver list   WINDOW --id N            index, check, the texts, then the images of
//                                              each row's columns (- for none)
//   kwuidriver check  WINDOW --id N --row R [--column C] [--off]
//                                              clicks a row's check box into that state; with
//                                              --column, the middle of that cell (lists that
//                                              draw their own boxes)
//   kwuidriver answer WINDOW --button OK|Yes|No|Cancel|Abort|Retry|Ignore
//                                              prints a message box's text and presses a button
//   kwuidriver type   WINDOW --id N --text T   puts the text in an edit box, as typing it would
//   kwuidriver close  WINDOW                   asks the window to close
// WINDOW is --title TEXT, --title-prefix TEXT and/or --class NAME; every
// command first waits up to --timeout MS (default 10000) for it to show.
// Output is tab separated, texts as the window holds them (Windows-1252);
// in `texts` line breaks inside a text show as \n. Exit code 0 on success,
// 1 when the window, control or row is missing or does not react, 2 on a bad
// command line.
#include "ListViewProbe.h"
#include "WindowQuery.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Options {
    std::string command;
    WindowQuery window;
    DWORD timeoutMs = 10000;
    int id = -1;
    std::string text;
    int row = -1;
    int column = -1;
    bool off = false;
    std::string button;
};

const struct {
    const char* name;
    int id;
} kBoxButtons[] = {{"OK", IDOK},         {"Cancel", IDCANCEL}, {"Abort", IDABORT}, {"Retry", IDRETRY},
                   {"Ignore", IDIGNORE}, {"Yes", IDYES},       {"No", IDNO}};

int Usage()
{
    std::fprintf(stderr, "usage: kwuidriver wait|texts|click|type|list|check|answer|close "
                         "--title TEXT|--title-prefix TEXT|--class NAME [--timeout MS] [--id N] [--text T] "
                         "[--row R] [--column C] [--off] [--button NAME]\n");
    return 2;
}

bool ParseOptions(int argc, char** argv, Options& options)
{
    if (argc < 2)
        return false;
    options.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--off") {
            options.off = true;
            continue;
        }
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        if (name == "--title") {
            options.window.title = value;
        } else if (name == "--title-prefix") {
            options.window.title = value;
            options.window.titlePrefix = true;
        } else if (name == "--class") {
            options.window.className = value;
        } else if (name == "--timeout") {
            options.timeoutMs = std::strtoul(value, nullptr, 10);
        } else if (name == "--id") {
            options.id = std::atoi(value);
        } else if (name == "--text") {
            options.text = value;
        } else if (name == "--row") {
            options.row = std::atoi(value);
        } else if (name == "--column") {
            options.column = std::atoi(value);
        } else if (name == "--button") {
            options.button = value;
        } else {
            return false;
        }
    }
    return !options.window.title.empty() || !options.window.className.empty();
}

int Fail(const char* what, const Options& options)
{
    std::fprintf(stderr, "kwuidriver %s: %s\n", options.command.c_str(), what);
    return 1;
}

std::string OneLine(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c != '\r')
            line += c;
    }
    return line;
}

// Waits for the window to be gone, so a command's effect is over when the
// driver returns.
bool WaitUntilGone(HWND window, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

// Posted, not sent: the button may open a modal loop (a message box, a
// dialog) that would otherwise hold the driver until it closes.
bool PressButton(HWND button)
{
    return IsWindowEnabled(button) && PostMessageA(button, BM_CLICK, 0, 0);
}

int ShowTexts(HWND window)
{
    for (HWND child : ChildWindows(window))
        std::printf("%d\t%s\t%s\t%d\t%d\n", GetDlgCtrlID(child), WindowClass(child).c_str(),
                    OneLine(WindowText(child)).c_str(), IsWindowEnabled(child) ? 1 : 0, IsWindowVisible(child) ? 1 : 0);
    return 0;
}

int Click(HWND window, const Options& options)
{
    HWND button = options.id >= 0 ? ChildById(window, options.id) : ButtonByText(window, options.text);
    if (button == nullptr)
        return Fail("no such button", options);
    // A window often shows its new state a moment before it enables the
    // button that goes on from there.
    const DWORD start = GetTickCount();
    while (!IsWindowEnabled(button) && GetTickCount() - start < options.timeoutMs)
        Sleep(50);
    return PressButton(button) ? 0 : Fail("the button is disabled", options);
}

int ShowList(HWND list, const Options& options)
{
    ListViewProbe probe(list);
    const int count = probe.RowCount();
    for (int index = 0; index < count; ++index) {
        ListViewProbe::Row row;
        if (!probe.ReadRow(index, row))
            return Fail("cannot read the list in its program", options);
        std::printf("%d\t%s", index, row.checkState == 2 ? "on" : row.checkState == 1 ? "off" : "-");
        for (const std::string& text : row.texts)
            std::printf("\t%s", text.c_str());
        for (int image : row.images) {
            if (image < 0)
                std::printf("\t-");
            else
                std::printf("\t%d", image);
        }
        std::printf("\n");
    }
    return 0;
}

int Check(HWND list, const Options& options)
{
    ListViewProbe probe(list);
    if (options.row < 0 || options.row >= probe.RowCount())
        return Fail("no such row", options);
    return probe.SetChecked(options.row, !options.off, options.column) ? 0
                                                                       : Fail("the check box did not change", options);
}

int Answer(HWND box, const Options& options)
{
    int id = -1;
    for (const auto& known : kBoxButtons)
        if (lstrcmpiA(known.name, options.button.c_str()) == 0)
            id = known.id;
    if (id < 0)
        return Usage();
    for (HWND child : ChildWindows(box)) {
        const std::string text = WindowText(child);
        if (lstrcmpiA(WindowClass(child).c_str(), "Static") == 0 && !text.empty())
            std::printf("%s\n", text.c_str());
    }
    std::fflush(stdout);
    HWND button = ChildById(box, id);
    if (button == nullptr || !PressButton(button))
        return Fail("the message box has no such button", options);
    return WaitUntilGone(box, options.timeoutMs) ? 0 : Fail("the message box stayed", options);
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options))
        return Usage();
    if (options.command == "answer" && options.window.className.empty())
        options.window.className = "#32770";

    HWND window = options.window.WaitFor(options.timeoutMs);
    if (window == nullptr)
        return Fail("no such window", options);

    if (options.command == "wait") {
        std::printf("0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
        return 0;
    }
    if (options.command == "texts")
        return ShowTexts(window);
    if (options.command == "click")
        return options.id >= 0 || !options.text.empty() ? Click(window, options) : Usage();
    if (options.command == "answer")
        return Answer(window, options);
    if (options.command == "type") {
        // The edit box tells its dialog of the change, as it does for keys.
        HWND edit = options.id >= 0 ? ChildById(window, options.id) : nullptr;
        return edit != nullptr && SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(options.text.c_str()))
                   ? 0
                   : Fail("no such edit box", options);
    }
    if (options.command == "close")
        return PostMessageA(window, WM_CLOSE, 0, 0) && WaitUntilGone(window, options.timeoutMs)
                   ? 0
                   : Fail("the window stayed", options);
    if (options.command == "list" || options.command == "check") {
        HWND list = ChildById(window, options.id);
        if (list == nullptr)
            return Fail("no such list", options);
        return options.command == "list" ? ShowList(list, options) : Check(list, options);
    }
    return Usage();
}
