#include "RegisteredMessages.h"

const RegisteredMessageName kRegisteredMessageNames[] = {
    {"wm_PROGRESS_OFFSETPOS_{E69A6BA5-E48C-4801-8227-0389854DAC48}", &RegisteredMessages::progressOffsetPos},
    {"wm_PROGRESS_SETACTIONTEXT_{0EC48171-D4C9-4d18-BB89-145DA1FCDF65}", &RegisteredMessages::progressSetActionText},
    {"wm_PROGRESS_SETMIN_{60443AFC-9058-4d07-B68E-9D06D68D4C96}", &RegisteredMessages::progressSetMin},
    {"wm_PROGRESS_SETMAX_{D39D4319-7CCF-4dab-9268-7C480EEAD7EC}", &RegisteredMessages::progressSetMax},
    {"wm_PROGRESS_SETPOS_{4CEC4EBF-C2EB-474e-8EC0-6E65B068C85E}", &RegisteredMessages::progressSetPos},
    {"wm_PROGRESS_SETSTEP_{54CF2E75-D07B-4977-ABBD-ADE3774DE086}", &RegisteredMessages::progressSetStep},
    {"wm_PROGRESS_STEPIT_{DDC08BFF-EF76-4f3c-95D0-44A55F2B20D6}", &RegisteredMessages::progressStepIt},
    {"wm_SHOW_BUTTON_{F1918EA0-4F51-40a5-80E4-46EFCAC874E4}", &RegisteredMessages::showButton},
    {"wm_TASK_COMPLETED_{A8A6A936-7C54-4abe-8230-3E92C24FC24C}", &RegisteredMessages::taskCompleted},
    {"wm_TASK_INTERRUPTED_{6BBB19B7-ADAB-414b-A55B-53EF6BD24700}", &RegisteredMessages::taskInterrupted},
    {"wm_TASK_INTERRUPTED_WINERR_{4182FE57-3F0A-42e4-8E04-57721536961A}", &RegisteredMessages::taskInterruptedWinErr},
    {"wm_UPDATES_FOUND_{B86BA2F6-8C7F-4bf7-83EF-C08326105022}", &RegisteredMessages::updatesFound},
    {"wm_UPDATES_SELCHANGED_{25FB37A3-B280-474a-BC69-73F22EEEADBC}", &RegisteredMessages::updatesSelChanged},
    {"wm_WAIT_COMPLETED_{381F1C6E-F41B-461a-A054-F177F3984397}", &RegisteredMessages::waitCompleted},
    {"wm_GET_SETUPBANNERTITLE_COLOR_{F69A6BA5-E48C-4801-8227-0389854DAC48}",
     &RegisteredMessages::getSetupBannerTitleColor},
    {"wm_GET_SETUPBANNERSUBTITLE_COLOR_{D69A6BA5-E48C-4801-8227-0389854DAC48}",
     &RegisteredMessages::getSetupBannerSubtitleColor},
    {"WindowsMessageEnableCancelButton", &RegisteredMessages::enableCancelButton},
    {"WindowsMessageShowMainWindow", &RegisteredMessages::showMainWindow},
    {"WindowsMessageWriteToLog", &RegisteredMessages::writeToLog},
    {"WM_XLISTCTRL_CHECKBOX_CLICKED", &RegisteredMessages::listCheckboxClicked},
    {"WM_XLISTCTRL_COMBO_SELECTION", &RegisteredMessages::listComboSelection},
    {"WindowsMessageSetupInstallAll", &RegisteredMessages::setupInstallAll},
    {"WindowsMessageSetupRepairAll", &RegisteredMessages::setupRepairAll},
    {"WindowsMessageSetupRemoveAll", &RegisteredMessages::setupRemoveAll},
    {"WindowsMessageSetupSetProductState", &RegisteredMessages::setupSetProductState},
    {"WindowsMessageSetupSetFeatureState", &RegisteredMessages::setupSetFeatureState},
    {"WindowsMessageSetupSetInstallMode", &RegisteredMessages::setupSetInstallMode},
    {"WindowsMessageSetupSetDestinationFolder", &RegisteredMessages::setupSetDestinationFolder},
    {"WindowsMessageChangeFolderTo", &RegisteredMessages::changeFolderTo},
};
const size_t kRegisteredMessageCount = sizeof(kRegisteredMessageNames) / sizeof(kRegisteredMessageNames[0]);

namespace {

RegisteredMessages RegisterAll()
{
    RegisteredMessages ids{};
    for (const RegisteredMessageName& entry : kRegisteredMessageNames)
        ids.*entry.id = RegisterWindowMessageA(entry.name);
    return ids;
}

} // namespace

const RegisteredMessages& GetRegisteredMessages()
{
    static const RegisteredMessages ids = RegisterAll();
    return ids;
}
