#pragma once

#include "UnavailableWindows.h"

// The windows this build has: the check's progress window and the main
// window; the others still say they are not available.
class UpdaterWindows : public UnavailableWindows {
public:
    int RunCheckProgress() override;
    int RunUpdater() override;
};
