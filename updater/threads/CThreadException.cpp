#include "CThreadException.h"

#include "EngineMessage.h"

int CThreadException::ReportError(UINT type, UINT messageId) const
{
    std::string text = m_message;
    if (messageId != 0)
        text = LoadModuleString(GetModuleHandleA(nullptr), messageId);
    return CoreMessageBox(text, type);
}
