#include "ProgressMessages.h"

#include "HeapText.h"
#include "RegisteredMessages.h"

namespace {

ProgressMessages ProgressMessagesFromTable()
{
    const RegisteredMessages& all = GetRegisteredMessages();
    ProgressMessages ids;
    ids.setMin = all.progressSetMin;
    ids.setMax = all.progressSetMax;
    ids.setPos = all.progressSetPos;
    ids.offsetPos = all.progressOffsetPos;
    ids.setStep = all.progressSetStep;
    ids.stepIt = all.progressStepIt;
    ids.setActionText = all.progressSetActionText;
    ids.showButton = all.showButton;
    return ids;
}

} // namespace

const ProgressMessages& GetProgressMessages()
{
    static const ProgressMessages ids = ProgressMessagesFromTable();
    return ids;
}

LPARAM NewActionText(const std::string& text)
{
    return reinterpret_cast<LPARAM>(NewHeapText(text));
}

std::string TakeActionText(LPARAM text)
{
    return TakeHeapText(reinterpret_cast<char*>(text));
}
