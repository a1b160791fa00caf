#pragma once

#include "UnavailableWindows.h"

// The windows this build has: the check's progress window, the minimal
// window and the completion window; the list of updates still says it is
// not available.
class UpdaterWindows : public UnavailableWindows {
public:
    int RunCheckProgress() override;
    int RunMinimal() override;
    int RunCompletion() override;
};
