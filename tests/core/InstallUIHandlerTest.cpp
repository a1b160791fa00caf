#include "CKWMsiDll.h"
#include "FakeMsi.h"
#include "FormatText.h"
#include "InstallUIHandler.h"
#include "InterfaceLanguage.h"
#include "MessageBoxPerson.h"
#include "ProgressMessages.h"
#include "TestPackages.h"

#include <gtest/gtest.h>

#include <msi.h>

#include <thread>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The names the receiving windows register on their side.
struct NamedMessage {
    const char* shortName;
    const char* registeredName;
};
const NamedMessage kProgressNames[] = {
    {"SETMIN", "wm_PROGRESS_SETMIN_{60443AFC-9058-4d07-B68E-9D06D68D4C96}"},
    {"SETMAX", "wm_PROGRESS_SETMAX_{D39D4319-7CCF-4dab-9268-7C480EEAD7EC}"},
    {"SETPOS", "wm_PROGRESS_SETPOS_{4CEC4EBF-C2EB-474e-8EC0-6E65B068C85E}"},
    {"OFFSETPOS", "wm_PROGRESS_OFFSETPOS_{E69A6BA5-E48C-4801-8227-0389854DAC48}"},
    {"SETSTEP", "wm_PROGRESS_SETSTEP_{54CF2E75-D07B-4977-ABBD-ADE3774DE086}"},
    {"STEPIT", "wm_PROGRESS_STEPIT_{DDC08BFF-EF76-4f3c-95D0-44A55F2B20D6}"},
    {"SETACTIONTEXT", "wm_PROGRESS_SETACTIONTEXT_{0EC48171-D4C9-4d18-BB89-145DA1FCDF65}"},
    {"SHOW_BUTTON", "wm_SHOW_BUTTON_{F1918EA0-4F51-40a5-80E4-46EFCAC874E4}"},
};

// What a progress window received, one "NAME wParam lParam" line per message
// (the text in place of lParam for action texts), the position its bar would
// show, and the boxes the handler asked for.
struct Recording {
    Lines sent;
    long long position = 0;
    long long maximum = 0;
    long long step = 0;
    Lines boxes;
    int boxAnswer = IDOK;

    void Record(const std::string& name, WPARAM wParam, LPARAM lParam)
    {
        long long value = static_cast<long long>(lParam);
        std::string line = name + " " + std::to_string(static_cast<long long>(wParam)) + " ";
        if (name == "SETACTIONTEXT")
            line += TakeActionText(lParam);
        else
            line += std::to_string(value);
        sent.push_back(line);
        if (name == "SETPOS")
            position = value;
        else if (name == "SETMAX")
            maximum = value;
        else if (name == "OFFSETPOS")
            position += value;
        else if (name == "SETSTEP")
            step = value;
        else if (name == "STEPIT")
            position += step;
    }
};

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* recording = reinterpret_cast<Recording*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (recording != nullptr && message >= 0xC000) {
        for (const NamedMessage& named : kProgressNames) {
            if (message == RegisterWindowMessageA(named.registeredName)) {
                recording->Record(named.shortName, wParam, lParam);
                return 1;
            }
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden top-level window that records every progress message it receives.
class RecorderWindow {
public:
    RecorderWindow()
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = RecorderProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KwProgressRecorder";
        RegisterClassA(&windowClass); // fails harmlessly once registered
        m_window = CreateWindowExA(0, "KwProgressRecorder", "progress", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_recording));
    }
    ~RecorderWindow()
    {
        if (m_window != nullptr)
            DestroyWindow(m_window);
    }
    RecorderWindow(const RecorderWindow&) = delete;
    RecorderWindow& operator=(const RecorderWindow&) = delete;

    HWND Get() const { return m_window; }
    Recording& Seen() { return m_recording; }

private:
    Recording m_recording;
    HWND m_window = nullptr;
};

// Stands in for a person: the box is recorded on its owner's recording.
int WINAPI RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD language)
{
    auto* recording = reinterpret_cast<Recording*>(GetWindowLongPtrA(owner, GWLP_USERDATA));
    recording->boxes.push_back(FormatText("%s|%s|0x%X|%u", caption, text, type, language));
    return recording->boxAnswer;
}

const char kInstallFilesStart[] = "Action 14:22:05: InstallFiles. Copying new files";
const char kFileData[] = "File: C:\\x.txt;  Directory: C:\\Program Files\\Melvaro\\;  Size: 12";

class InstallUI : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_window.Get());
        m_savedState = GetInstallUIState();
        m_savedLanguage = g_language;
        InstallUIState fresh;
        fresh.cancelFlag = &m_cancel;
        fresh.messageBox = RecordBox;
        GetInstallUIState() = fresh;
        g_language = kLanguageEnglish;
    }
    void TearDown() override
    {
        GetInstallUIState() = m_savedState;
        g_language = m_savedLanguage;
    }

    int Call(UINT type, const char* text) { return InstallUIHandler(m_window.Get(), type, text); }
    int Progress(const char* text) { return Call(INSTALLMESSAGE_PROGRESS, text); }
    Lines TakeSent()
    {
        Lines sent;
        sent.swap(m_window.Seen().sent);
        return sent;
    }

    RecorderWindow m_window;
    std::atomic<bool> m_cancel{false};

private:
    InstallUIState m_savedState;
    unsigned short m_savedLanguage = kLanguageEnglish;
};

} // namespace

TEST_F(InstallUI, ResetsSetTheBarAndReportsMoveItInTheirDirection)
{
    EXPECT_EQ(1, Progress("1: 0 2: 1000 3: 0 4: 0 "));
    for (int report = 0; report < 4; ++report)
        EXPECT_EQ(1, Progress("1: 2 2: 250 "));
    EXPECT_EQ((Lines{"SETMIN 2 0", "SETMAX 2 1000", "SETPOS 2 0", "OFFSETPOS 2 250", "OFFSETPOS 2 250",
                     "OFFSETPOS 2 250", "OFFSETPOS 2 250"}),
              TakeSent());
    EXPECT_EQ(1000, m_window.Seen().position);

    // Backward: the bar starts full and every report and step moves it down.
    Progress("1: 0 2: 1000 3: 1 4: 0 ");
    Progress("1: 2 2: 250 ");
    Progress("1: 1 2: 25 3: 1 ");
    Call(INSTALLMESSAGE_ACTIONDATA, kFileData);
    EXPECT_EQ((Lines{"SETMIN 2 0", "SETMAX 2 1000", "SETPOS 2 1000", "OFFSETPOS 2 -250", "SETSTEP 2 -25",
                     std::string("SETACTIONTEXT 2 ") + kFileData, "STEPIT 2 0"}),
              TakeSent());
    EXPECT_EQ(725, m_window.Seen().position);
}

TEST_F(InstallUI, AResetAfterScriptGenerationSetsThePositionToItsTotal)
{
    Progress("1: 0 2: 500 3: 0 4: 1 ");
    Progress("1: 0 2: 800 3: 0 4: 0 ");
    Progress("1: 0 2: 300 3: 0 4: 0 ");
    Lines sent = TakeSent();
    ASSERT_EQ(9u, sent.size());
    EXPECT_EQ("SETPOS 2 0", sent[2]) << "not in a script at start";
    EXPECT_EQ("SETPOS 2 800", sent[5]);
    EXPECT_EQ("SETPOS 2 0", sent[8]);
}

TEST_F(InstallUI, ActionInformationTurnsSteppingByActionDataOnAndOff)
{
    Progress("1: 0 2: 1000 3: 0 4: 0 ");
    Progress("1: 1 2: 25 3: 1 ");
    TakeSent();
    Call(INSTALLMESSAGE_ACTIONDATA, kFileData);
    Call(INSTALLMESSAGE_ACTIONDATA, kFileData);
    EXPECT_EQ(50, m_window.Seen().position);

    const Lines textOnly{std::string("SETACTIONTEXT 2 ") + kFileData};
    Progress("1: 1 2: 25 3: 0 ");
    TakeSent();
    Call(INSTALLMESSAGE_ACTIONDATA, kFileData);
    EXPECT_EQ(textOnly, TakeSent());
}

TEST_F(InstallUI, MendedAResetTurnsSteppingByActionDataOff)
{
    // A new phase does not keep stepping with the last phase's step.
    Progress("1: 0 2: 1000 3: 0 4: 0 ");
    Progress("1: 1 2: 25 3: 1 ");
    Progress("1: 0 2: 400 3: 0 4: 0 ");
    TakeSent();
    Call(INSTALLMESSAGE_ACTIONDATA, kFileData);
    EXPECT_EQ(Lines{std::string("SETACTIONTEXT 2 ") + kFileData}, TakeSent());
}

TEST_F(InstallUI, NothingMovesWithoutATotal)
{
    for (const char* firstReset : {"", "1: 0 2: 0 3: 0 4: 0 "}) {
        Progress(firstReset);
        Progress("1: 1 2: 25 3: 1 ");
        TakeSent();
        EXPECT_EQ(1, Call(INSTALLMESSAGE_ACTIONDATA, kFileData));
        EXPECT_EQ(1, Progress("1: 2 2: 250 "));
        EXPECT_EQ(Lines{}, TakeSent()) << firstReset;
    }
}

TEST_F(InstallUI, ActionStartNamesTheActionAndItsDataShowsTheDescription)
{
    const char* cases[][3] = {
        {kInstallFilesStart, "InstallFiles", "Copying new files"},
        {"Action 14:22:05 : Custom.Action. Runs: it", "CustomAction", "Runs: it"},
        {"Action 5:13:06: InstallFinalize. ", "InstallFinalize", ""},
        {"Action 14:22:05: CostInitialize.", "CostInitialize", ""},
        {"Action 14:22:05:", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(1, Call(INSTALLMESSAGE_ACTIONSTART, c[0]));
        EXPECT_EQ(c[1], GetInstallUIState().actionName) << c[0];
        EXPECT_EQ(c[2], GetInstallUIState().actionDescription) << c[0];
    }
    Call(INSTALLMESSAGE_ACTIONSTART, nullptr);

    Progress("1: 0 2: 1000 3: 0 4: 0 ");
    Call(INSTALLMESSAGE_ACTIONSTART, kInstallFilesStart);
    TakeSent();
    Call(INSTALLMESSAGE_ACTIONDATA, "Status: Copying new files");
    Call(INSTALLMESSAGE_ACTIONDATA, "Status: Copying files");
    Call(INSTALLMESSAGE_ACTIONDATA, nullptr);
    EXPECT_EQ((Lines{"SETACTIONTEXT 2 Copying new files", "SETACTIONTEXT 2 Status: Copying files", "SETACTIONTEXT 2 "}),
              TakeSent());
}

TEST_F(InstallUI, MendedUnreadableProgressChangesNothingAndIsAnsweredByTheCancelFlag)
{
    Progress("1: 0 2: 1000 3: 0 4: 0 ");
    TakeSent();
    const char* unreadable[] = {
        "",
        "1:",
        "garbage",
        "1: 0 2: 1000",
        "1: 0 2: 1000 3: 0 4: x",
        "1: 12 2: 5",
        "1: -2 2: 5",
        "1: 2 2: 99999999999",
        "1: 2 2:250",
        "1: 22: 5",
        "2: 2 1: 5",
        "1: 2 2: -",
        "1: 1 2: 25 3:",
        nullptr,
    };
    for (bool cancelled : {false, true}) {
        m_cancel = cancelled;
        for (const char* text : unreadable)
            EXPECT_EQ(cancelled ? 2 : 1, Progress(text)) << (text != nullptr ? text : "(null)");
    }
    EXPECT_EQ(Lines{}, TakeSent());

    // Reading stops once the record's fields are read; the answer still follows the flag.
    EXPECT_EQ(2, Progress("1: 2 2: 250 3: trailing words"));
    m_cancel = false;
    EXPECT_EQ(1, Progress("  1: 2   2: 5"));
    EXPECT_EQ((Lines{"OFFSETPOS 2 250", "OFFSETPOS 2 5"}), TakeSent());
    GetInstallUIState().cancelFlag = nullptr;
    EXPECT_EQ(1, Progress("1: 3 "));
}

TEST_F(InstallUI, CommonDataShowsOrHidesTheCancelButton)
{
    m_cancel = true;
    for (const char* text :
         {"1: 2 2: 0 ", "1: 2 2: 1 ", "1: 2 2: 3", "1: 0 2: 1033 3: 1252 ", "1: 1 2: Setup", "1: 2", "1: 2 2: on", ""})
        EXPECT_EQ(1, Call(INSTALLMESSAGE_COMMONDATA, text)) << text;
    EXPECT_EQ((Lines{"SHOW_BUTTON 0 0", "SHOW_BUTTON 0 1", "SHOW_BUTTON 0 1"}), TakeSent());
}

TEST_F(InstallUI, EveryMessageTypeGetsItsAnswerAndDeliberatelyNoneWithoutALiveWindow)
{
    const std::pair<UINT, int> answers[] = {
        {INSTALLMESSAGE_FATALEXIT | MB_ICONERROR, 0},
        {INSTALLMESSAGE_USER | MB_OK, 1},
        {INSTALLMESSAGE_INFO, 1},
        {INSTALLMESSAGE_FILESINUSE, 0},
        {INSTALLMESSAGE_RESOLVESOURCE, 0},
        {INSTALLMESSAGE_OUTOFDISKSPACE | MB_RETRYCANCEL, 1},
        {INSTALLMESSAGE_INITIALIZE, 1},
        {INSTALLMESSAGE_TERMINATE, 1},
        {INSTALLMESSAGE_SHOWDIALOG, 1},
        {INSTALLMESSAGE_RMFILESINUSE, 0},
        {0xFF000000, 0},
        {INSTALLMESSAGE_ERROR, IDRETRY},
        {INSTALLMESSAGE_WARNING, 1},
        {INSTALLMESSAGE_PROGRESS, 1},
        {INSTALLMESSAGE_ACTIONDATA, 1},
        {INSTALLMESSAGE_COMMONDATA, 1},
    };
    HWND gone = nullptr;
    {
        RecorderWindow closed;
        gone = closed.Get();
    }
    m_window.Seen().boxAnswer = IDRETRY;
    for (const auto& answer : answers) {
        for (HWND context : {static_cast<HWND>(nullptr), gone})
            EXPECT_EQ(0, InstallUIHandler(context, answer.first, "1: 0 2: 1000 3: 0 4: 0 "))
                << std::hex << answer.first;
        EXPECT_EQ(answer.second, Call(answer.first, "")) << std::hex << answer.first;
    }
    EXPECT_EQ(0, GetInstallUIState().total);
    EXPECT_EQ(2u, m_window.Seen().boxes.size()) << "only errors and warnings show a box";
}

TEST_F(InstallUI, ErrorsAndWarningsAreShownWithTheEnginesStyle)
{
    m_window.Seen().boxAnswer = IDRETRY;
    EXPECT_EQ(IDRETRY, Call(INSTALLMESSAGE_ERROR | MB_RETRYCANCEL | MB_ICONERROR | MB_DEFBUTTON2, "Error 1310."));
    g_language = kLanguageFrench;
    m_window.Seen().boxAnswer = IDCANCEL;
    EXPECT_EQ(IDCANCEL, Call(INSTALLMESSAGE_ERROR | MB_OKCANCEL | MB_TOPMOST, "Erreur"));
    EXPECT_EQ(IDOK, Call(INSTALLMESSAGE_WARNING | MB_OKCANCEL | MB_ICONWARNING, "Disk nearly full"));
    EXPECT_EQ((Lines{"Error|Error 1310.|0x115|9", "Error|Erreur|0x40001|12", "Warning|Disk nearly full|0x31|12"}),
              m_window.Seen().boxes);
}

TEST_F(InstallUI, APersonAnswersARealErrorBox)
{
    GetInstallUIState().messageBox = MessageBoxExA;
    FoundBox found;
    std::thread person([&found] {
        found = AnswerMessageBox("Error", IDCANCEL);
    });
    int answer = Call(INSTALLMESSAGE_ERROR | MB_OKCANCEL | MB_ICONERROR, "Error 1310. Error writing to file");
    person.join();
    EXPECT_EQ("Error 1310. Error writing to file", found.text);
    EXPECT_EQ(IDCANCEL, answer);
}

TEST_F(InstallUI, InstallingOnTheEngineStartsAFreshStateWithTheProgramsFlag)
{
    std::atomic<bool> programFlag{true};
    GetInstallUIState().total = 5;
    GetInstallUIState().scriptInProgress = true;
    GetInstallUIState().actionName = "InstallFiles";
    ASSERT_TRUE(SetInstallUIHandler(m_window.Get(), &programFlag));
    // Taking it off again hands back what was installed.
    EXPECT_EQ(&InstallUIHandler, g_msi.MsiSetExternalUIA(nullptr, 0, nullptr));
    const InstallUIState& state = GetInstallUIState();
    EXPECT_EQ(0, state.total);
    EXPECT_FALSE(state.scriptInProgress);
    EXPECT_EQ("", state.actionName);
    EXPECT_EQ(&RecordBox, state.messageBox) << "the box seam stays";
    EXPECT_EQ(2, Progress("1: 3 "));

    FakeMsi fake;
    ASSERT_TRUE(SetInstallUIHandler(m_window.Get(), &m_cancel));
    EXPECT_EQ((Lines{"MsiSetExternalUIA|32767"}), fake.calls) << "every message type";
    g_msi.MsiSetExternalUIA = nullptr;
    EXPECT_FALSE(SetInstallUIHandler(m_window.Get(), &programFlag)) << "no engine bound";
    EXPECT_EQ(&m_cancel, GetInstallUIState().cancelFlag);
}

// The handler on Wine's engine while the test product is installed and
// removed. (Wine's engine goes on when a progress record is answered with
// cancel, so cancelling is only tested above.)
TEST_F(InstallUI, DrivesTheWindowWhileTheEngineInstallsAPackage)
{
    const std::string package = TestPackages::Path(TestPackages::kBase100);
    INSTALLUILEVEL savedLevel = g_msi.MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    ASSERT_TRUE(SetInstallUIHandler(m_window.Get(), &m_cancel));
    UINT installed = g_msi.MsiInstallProductA(package.c_str(), "");
    Lines sent = TakeSent();
    UINT removed = g_msi.MsiInstallProductA(package.c_str(), "REMOVE=ALL");
    g_msi.MsiSetExternalUIA(nullptr, 0, nullptr);
    g_msi.MsiSetInternalUI(savedLevel, nullptr);

    EXPECT_EQ(0u, installed);
    EXPECT_EQ(0u, removed);
    EXPECT_EQ(INSTALLSTATE_UNKNOWN, g_msi.MsiQueryProductStateA(TestPackages::kBaseProductCode));
    EXPECT_EQ(Lines{}, m_window.Seen().boxes);
    ASSERT_LE(3u, sent.size());
    EXPECT_EQ("SETMIN 2 0", sent[0]);
    EXPECT_EQ(0u, sent[1].rfind("SETMAX 2 ", 0)) << sent[1];
    EXPECT_EQ("SETPOS 2 0", sent[2]);
    EXPECT_LT(0, m_window.Seen().maximum);
    // Wine's reports even run past the total; a bar stops at its end.
    EXPECT_GE(m_window.Seen().position, m_window.Seen().maximum) << "the bar ends at its total";
    bool fileShown = false;
    for (const std::string& line : sent) {
        EXPECT_TRUE(line.rfind("SHOW_BUTTON 0 ", 0) == 0 || line.find(" 2 ") != std::string::npos) << line;
        fileShown = fileShown || (line.rfind("SETACTIONTEXT 2 ", 0) == 0 && line.find("core.txt") != std::string::npos);
    }
    EXPECT_TRUE(fileShown) << "the copied files are named on the status line";
}
