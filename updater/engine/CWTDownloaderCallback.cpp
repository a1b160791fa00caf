#include "CWTDownloaderCallback.h"

#include "CWorkerThread.h"
#include "CancelFlags.h"
#include "RegisteredMessages.h"

bool CWTDownloaderCallback::MayContinue() const
{
    return m_thread != nullptr && !g_downloadCancelled && m_thread->PeekCommand() != kCommandStop;
}

void CWTDownloaderCallback::Post(unsigned message, std::uint64_t value) const
{
    m_thread->PostToOwner(message, m_bar, static_cast<LPARAM>(value));
}

bool CWTDownloaderCallback::OnBegin(std::uint64_t total)
{
    if (!MayContinue())
        return false;
    const RegisteredMessages& ids = GetRegisteredMessages();
    Post(ids.progressSetMin, 0);
    Post(ids.progressSetMax, total);
    Post(ids.progressSetPos, 0);
    m_lastProgress = 0;
    return MayContinue();
}

bool CWTDownloaderCallback::OnProgress(std::uint64_t received, std::uint64_t)
{
    if (!MayContinue())
        return false;
    if (received != m_lastProgress) {
        m_lastProgress = received;
        Post(GetRegisteredMessages().progressSetPos, received);
    }
    return MayContinue();
}

bool CWTDownloaderCallback::OnEnd(std::uint64_t total)
{
    if (!MayContinue())
        return false;
    Post(GetRegisteredMessages().progressSetPos, total);
    return MayContinue();
}
