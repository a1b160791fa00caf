#pragma once

// The modal windows of an interactive or minimal-window run, each returning
// the id of the button that closed it (IDOK, IDCANCEL...).
class IUpdaterWindows {
public:
    virtual ~IUpdaterWindows() = default;
    // The check with its progress window.
    virtual int RunCheckProgress() = 0;
    // The list of updates, their download and installation.
    virtual int RunUpdater() = 0;
    // Download and installation in a small window, without the list.
    virtual int RunMinimal() = 0;
    // The end of a successful run: restart or start the product.
    virtual int RunCompletion() = 0;
};
