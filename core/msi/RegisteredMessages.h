#pragma once

#include <windows.h>

// The ids of every registered message both programs use, registered once per
// process on first use. Workers post them to their owner window; the
// engine's progress handler sends them.
struct RegisteredMessages {
    UINT progressOffsetPos;
    UINT progressSetActionText;
    UINT progressSetMin;
    UINT progressSetMax;
    UINT progressSetPos;
    UINT progressSetStep;
    UINT progressStepIt;
    UINT showButton;
    UINT taskCompleted;
    UINT taskInterrupted;
    UINT taskInterruptedWinErr;
    UINT updatesFound;
    UINT updatesSelChanged;
    UINT waitCompleted;
    UINT getSetupBannerTitleColor;
    UINT getSetupBannerSubtitleColor;
    UINT enableCancelButton;
    UINT showMainWindow;
    UINT writeToLog;
    UINT listCheckboxClicked;
    UINT listComboSelection;
    UINT setupInstallAll;
    UINT setupRepairAll;
    UINT setupRemoveAll;
    UINT setupSetProductState;
    UINT setupSetFeatureState;
    UINT setupSetInstallMode;
    UINT setupSetDestinationFolder;
    UINT changeFolderTo;
};

const RegisteredMessages& GetRegisteredMessages();

// The registered name of every entry, in the order of the fields above.
struct RegisteredMessageName {
    const char* name;
    UINT RegisteredMessages::*id;
};
extern const RegisteredMessageName kRegisteredMessageNames[];
extern const size_t kRegisteredMessageCount;
