#pragma once
// The icons and the logo that the program shows of its own: toolbar, menu,
// status bar, window and property-window button icons, by resource number.
//
// An icon resource library, "Runeset.dll" beside the executable, may replace
// the toolbar, menu and status-bar icons: its group icon resources are read
// by number, as data only. Every icon it lacks, and every icon when it is
// missing or cannot be read, comes from the program's own set, drawn from
// SVG sources compiled into the program.

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <map>
#include <memory>
#include <vector>

namespace sigil {

class IconEntry;

class IconResources {
public:
    static constexpr const char* kLibraryFileName = "Runeset.dll";
    // The sizes an icon() carries for the program's own icons.
    static constexpr int kIconSizes[] = {16, 24, 32, 48};
    static constexpr int kLogoWidth = 300;
    static constexpr int kLogoHeight = 60;

    IconResources();
    ~IconResources();
    IconResources(const IconResources&) = delete;
    IconResources& operator=(const IconResources&) = delete;

    // Reads the icon resource library in `executableDir`, replacing any read
    // before. True when it was there and is a module; a library that is
    // missing or damaged leaves the program's own icons in use.
    bool loadLibrary(const QString& executableDir);
    // Forgets the library's icons.
    void releaseLibrary();
    bool usingRuneset() const { return usingRuneset_; }

    // Whether icon `id` can be had, from the library or the program.
    bool hasIcon(int id) const;
    // The icon with pixmaps at every size in kIconSizes, or one per device
    // for an icon of the library. Null when there is no such icon.
    QIcon icon(int id) const;
    // The icon at size x size; null when there is no such icon.
    QPixmap pixmap(int id, int size) const;
    // The about box's logo, kLogoWidth x kLogoHeight.
    QPixmap logo() const;

    // The numbers of the program's own icons, ascending.
    static std::vector<int> ownIconIds();

private:
    const IconEntry* libraryIcon(int id) const;

    std::map<int, std::unique_ptr<IconEntry>> libraryIcons_;
    bool usingRuneset_ = false;
};

}  // namespace sigil
