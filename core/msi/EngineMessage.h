#pragma once

#include <windows.h>

#include <string>

// The engine core's messages: string resources of the program, each English
// id followed by its French id.
enum EngineMessageId {
    kMsgOutOfMemory = 10012,
    kMsgInvalidPath = 10014,
    kMsgSetupCancelled = 10016,
    kMsgInvalidMsiVersion = 10018,
    kMsgAdministratorRequired = 10020,
    kMsgRedistributableMissing = 10022,
    kMsgUpgradeFailed = 10024,
    kMsgRedistributableInvalid = 10026,
    kMsgInstallerError = 10028,
    kMsgUpgradeQuestion = 10031,
    kMsgInvalidOperation = 10033,
    kMsgMsi3NeedsWindows2000Sp3 = 10036,
};

// The message in the core's current language; empty when it is missing.
std::string LoadEngineMessage(int englishId);

// A string resource of a module; empty when it has none.
std::string LoadModuleString(HMODULE module, UINT id);

// Replaces "%1" by a path, as the messages that name a file expect.
std::string InsertPath(const std::string& text, const std::string& path);

// Shows a text in a box with the icon and buttons of the message's id
// (warning for 10016 and 10020, a Yes/No question for 10031, else error).
// Returns the button pressed.
int ShowEngineMessage(int englishId, const std::string& text);

// Shows the message as it stands, or with a path in place of "%1".
int ShowEngineMessage(int englishId);
int ShowEngineMessageWithPath(int englishId, const std::string& path);

// The core's message box: owner window and caption from the core state,
// through its seam when a test set one.
int CoreMessageBox(const std::string& text, UINT type);
