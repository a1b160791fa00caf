#pragma once

#include "IUpdaterWindows.h"

// The updater's real windows, each run as a modal dialog.
class UpdaterWindows : public IUpdaterWindows {
public:
    int RunCheckProgress() override;
    int RunUpdater() override;
    int RunMinimal() override;
    int RunCompletion() override;
};
