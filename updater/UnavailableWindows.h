#pragma once

#include "IUpdaterWindows.h"

// The windows of interactive and minimal-window runs are not part of this
// build: each says so in a box and ends the run as cancelled, so a person
// learns to use /silent instead of seeing nothing happen.
class UnavailableWindows : public IUpdaterWindows {
public:
    int RunCheckProgress() override { return Unavailable(); }
    int RunUpdater() override { return Unavailable(); }
    int RunMinimal() override { return Unavailable(); }
    int RunCompletion() override { return Unavailable(); }

protected:
    static int Unavailable();
};
