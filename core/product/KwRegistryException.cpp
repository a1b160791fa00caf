#include "KwRegistryException.h"

#include "SystemMessage.h"

const std::string& KwRegistryException::GetMessageText()
{
    if (m_code != 0 && m_message.empty())
        m_message = GetSystemErrorText(static_cast<DWORD>(m_code));
    return m_message;
}
