#pragma once

#include "CControl.h"

// The header of a CXListCtrl: the program sizes the columns, so the
// dividers do not move under the mouse (a column hidden at width 0 stays
// hidden).
class CXHeaderCtrl : public CControl {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool IsOnDivider(LPARAM point) const;
};
