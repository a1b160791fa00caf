#include "EngineMessage.h"

#include "InterfaceLanguage.h"
#include "SetupCore.h"

#include <vector>

std::string LoadEngineMessage(int englishId)
{
    int id = g_language == kLanguageFrench ? englishId + 1 : englishId;
    return LoadModuleString(GetModuleHandleA(nullptr), static_cast<UINT>(id));
}

std::string LoadModuleString(HMODULE module, UINT id)
{
    std::vector<char> buffer(1024);
    for (;;) {
        int length = LoadStringA(module, id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0)
            return std::string();
        // A text that fills the buffer may have been cut: try a larger one.
        if (static_cast<size_t>(length) + 1 < buffer.size() || buffer.size() >= 65536)
            return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 4);
    }
}

std::string InsertPath(const std::string& text, const std::string& path)
{
    std::string result = text;
    size_t position = result.find("%1");
    if (position != std::string::npos)
        result.replace(position, 2, path);
    return result;
}

int ShowEngineMessage(int englishId, const std::string& text)
{
    UINT type = MB_OK | MB_ICONERROR;
    if (englishId == kMsgSetupCancelled || englishId == kMsgAdministratorRequired)
        type = MB_OK | MB_ICONWARNING;
    else if (englishId == kMsgUpgradeQuestion)
        type = MB_YESNO | MB_ICONQUESTION;
    return CoreMessageBox(text, type);
}

int ShowEngineMessage(int englishId)
{
    return ShowEngineMessage(englishId, LoadEngineMessage(englishId));
}

int ShowEngineMessageWithPath(int englishId, const std::string& path)
{
    return ShowEngineMessage(englishId, InsertPath(LoadEngineMessage(englishId), path));
}

int CoreMessageBox(const std::string& text, UINT type)
{
    const SetupCoreState& core = GetSetupCore();
    if (core.messageBox != nullptr)
        return core.messageBox(core.owner, text.c_str(), core.caption.c_str(), type);
    return MessageBoxA(core.owner, text.c_str(), core.caption.c_str(), type);
}
