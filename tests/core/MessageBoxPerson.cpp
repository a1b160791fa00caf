#include "MessageBoxPerson.h"

FoundBox AnswerMessageBox(const std::string& caption, int button)
{
    FoundBox found;
    for (int attempt = 0; attempt < 200 && found.caption.empty(); ++attempt) {
        HWND box = FindWindowA("#32770", caption.c_str());
        if (box != nullptr) {
            char text[1024] = "";
            GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            found.caption = caption;
            found.text = text;
            PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        } else {
            Sleep(50);
        }
    }
    return found;
}
