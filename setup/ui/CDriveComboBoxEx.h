#pragma once

#include "CControl.h"

#include <commctrl.h>

#include <string>
#include <vector>

// One logical drive: its text ("C:") and its picture in the image strip.
struct CDriveItem {
    std::string text;
    int image = 0;
};

// The picture of a drive of this Windows drive type in the image strip.
int DriveImage(UINT driveType);

// The drop-down list of the logical drives, each with its picture.
class CDriveComboBoxEx : public CControl {
public:
    // Lists every logical drive, in the order the system gives them.
    void Fill(HIMAGELIST images);
    // Selects the drive a path starts with; none when it names no drive.
    void SelectDriveOf(const std::string& path);
    // The selected drive's text; empty when none is.
    std::string GetSelectedDrive() const;

private:
    std::vector<CDriveItem> m_drives;
};
