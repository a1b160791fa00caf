#include "ProgressMessages.h"

#include "HeapText.h"

namespace {

ProgressMessages RegisterProgressMessages()
{
    ProgressMessages ids;
    ids.setMin = RegisterWindowMessageA("wm_PROGRESS_SETMIN_{60443AFC-9058-4d07-B68E-9D06D68D4C96}");
    ids.setMax = RegisterWindowMessageA("wm_PROGRESS_SETMAX_{D39D4319-7CCF-4dab-9268-7C480EEAD7EC}");
    ids.setPos = RegisterWindowMessageA("wm_PROGRESS_SETPOS_{4CEC4EBF-C2EB-474e-8EC0-6E65B068C85E}");
    ids.offsetPos = RegisterWindowMessageA("wm_PROGRESS_OFFSETPOS_{E69A6BA5-E48C-4801-8227-0389854DAC48}");
    ids.setStep = RegisterWindowMessageA("wm_PROGRESS_SETSTEP_{54CF2E75-D07B-4977-ABBD-ADE3774DE086}");
    ids.stepIt = RegisterWindowMessageA("wm_PROGRESS_STEPIT_{DDC08BFF-EF76-4f3c-95D0-44A55F2B20D6}");
    ids.setActionText = RegisterWindowMessageA("wm_PROGRESS_SETACTIONTEXT_{0EC48171-D4C9-4d18-BB89-145DA1FCDF65}");
    ids.showButton = RegisterWindowMessageA("wm_SHOW_BUTTON_{F1918EA0-4F51-40a5-80E4-46EFCAC874E4}");
    return ids;
}

} // namespace

const ProgressMessages& GetProgressMessages()
{
    static const ProgressMessages ids = RegisterProgressMessages();
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
