#include "settings/MainWindowPlacement.h"

#include "platform/SettingsFile.h"

namespace sigil {

namespace {
const char* const kSection = "Sigilscope";
}

MainWindowPlacement placementToSave(MainWindowPlacement p, bool cascade, int captionHeight, const QRect& desktop)
{
    auto moveTo = [&p](int x, int y) {
        p.right += x - p.left;
        p.bottom += y - p.top;
        p.left = x;
        p.top = y;
    };
    if (cascade) {
        moveTo(p.left + captionHeight, p.top + captionHeight);
        if (p.bottom > desktop.y() + desktop.height())
            moveTo(0, 0);
    }
    if (p.top < 0)
        moveTo(p.left, 0);
    if (p.left < 0)
        moveTo(0, p.top);
    return p;
}

bool readPlacement(SettingsFile& file, MainWindowPlacement& p, const QRect& desktop)
{
    if (file.readInt(kSection, "Plase", 0) == 0)
        return false;
    p.flags = file.readInt(kSection, "Plase_Flags", 2);
    p.showCmd = file.readInt(kSection, "Plase_ShowCmd", 3);
    p.minPos = QPoint(file.readInt(kSection, "Plase_MinPosX", 0), file.readInt(kSection, "Plase_MinPosY", 0));
    p.maxPos = QPoint(file.readInt(kSection, "Plase_MaxPosX", 0), file.readInt(kSection, "Plase_MaxPosY", 0));
    p.left = file.readInt(kSection, "Plase_Left", 0);
    p.top = file.readInt(kSection, "Plase_Top", 0);
    p.right = file.readInt(kSection, "Plase_Right", desktop.x() + desktop.width());
    p.bottom = file.readInt(kSection, "Plase_Bottom", desktop.y() + desktop.height());
    return true;
}

void writePlacement(SettingsFile& file, const MainWindowPlacement& p)
{
    file.writeInt(kSection, "Plase", 1);
    file.writeInt(kSection, "Plase_Flags", p.flags);
    file.writeInt(kSection, "Plase_ShowCmd", p.showCmd);
    file.writeInt(kSection, "Plase_MinPosX", p.minPos.x());
    file.writeInt(kSection, "Plase_MinPosY", p.minPos.y());
    file.writeInt(kSection, "Plase_MaxPosX", p.maxPos.x());
    file.writeInt(kSection, "Plase_MaxPosY", p.maxPos.y());
    file.writeInt(kSection, "Plase_Left", p.left);
    file.writeInt(kSection, "Plase_Top", p.top);
    file.writeInt(kSection, "Plase_Right", p.right);
    file.writeInt(kSection, "Plase_Bottom", p.bottom);
}

}  // namespace sigil
