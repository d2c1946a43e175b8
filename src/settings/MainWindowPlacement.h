#pragma once
// The main window's saved placement ("Plase" keys): what is stored and the
// cascade rule that lets a second copy of the program open offset.

#include <QRect>

namespace sigil {

class SettingsFile;

struct MainWindowPlacement {
    int flags = 2;
    int showCmd = 3;  // 1 normal, 2 minimised, 3 maximised
    QPoint minPos;
    QPoint maxPos;
    // The restored window rectangle, right and bottom exclusive.
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The rectangle to store for a window whose restored rectangle is
// `normal` (right/bottom exclusive in `placement`): with `cascade`, moved
// by one caption height, and to (0, 0) if it then reaches below `desktop`;
// then moved back onto the screen's top and left edges.
MainWindowPlacement placementToSave(MainWindowPlacement placement, bool cascade, int captionHeight,
                                    const QRect& desktop);

// Reads the placement; false when none was saved (Plase is 0).
bool readPlacement(SettingsFile& file, MainWindowPlacement& placement, const QRect& desktop);
void writePlacement(SettingsFile& file, const MainWindowPlacement& placement);

}  // namespace sigil
