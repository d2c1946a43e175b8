#pragma once
// The program's general options: view grid and arrangement, snap-all and
// save-all parameters, last folders, external editor, the add dialog's last
// choice, the toolbar's buttons and the recent files and folders. Loaded at
// start-up, saved at exit and when the settings dialog is confirmed; the
// recent list is written whenever it changes.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/SettingsFile.h"

namespace sigil {

constexpr const char* kMainSection = "Sigilscope";
constexpr const char* kToolBarSection = "SigilscopeToolBar";
constexpr const char* kRecentSection = "SigilscopeRecent";
constexpr const char* kPlaceBarSection = "PlaceBar";

// The recent list keeps this many entries at most.
constexpr size_t kMaxRecentPaths = 10;
// Toolbar item that stands for a separator.
constexpr int32_t kToolbarSeparator = 1;

// The toolbar a fresh installation shows; the toolbar dialog's reset button
// restores it.
std::vector<int32_t> defaultToolbarItems();

// Sizes as the settings file keeps them ("16,32,48"); a reading keeps only
// the sizes from 1 to 256.
std::string sizesText(const std::vector<int32_t>& sizes);
std::vector<int32_t> sizesFromText(const std::string& text);

struct GeneralSettings {
    int32_t grid = 0;
    int32_t horizontal = 0;
    SettingsColor gridColor = 0x808080;  // 128,128,128
    int32_t snapColumns = 0;
    int32_t snapSpacing = 3;
    int32_t saveNaming = 0;
    std::string savePrefix = "icon";
    int32_t saveDigits = 0;
    std::string openPath;
    std::string bitmapOpenPath;
    int32_t propertyShown = 0;
    int32_t useEditor = 0;
    std::string editorPath;
    int32_t defaultWidth = 32;
    int32_t defaultHeight = 32;
    int32_t defaultBitCount = 8;
    // Empty when the user removed every button: the window has no toolbar.
    std::vector<int32_t> toolbarItems = defaultToolbarItems();
    int32_t toolbarSize = 0;
    // The sizes "make sizes" offers ticked: the last choice.
    std::vector<int32_t> makeSizes = {16, 20, 24, 32, 40, 48, 64, 96, 128, 256};
    std::vector<std::string> recentPaths;  // oldest first
    // The interface language as the settings name it: "ja" (the default),
    // "en" or "auto"; read at start-up only (see languageFromSetting).
    std::string language = "ja";

    // Called after addRecent changed the list, so the recent-files menu can
    // be rebuilt.
    std::function<void()> recentChanged;

    // Reads every field and remembers the file for save() and addRecent().
    void load(SettingsFile& file);
    // Writes everything but the recent list; does nothing before load().
    void save() const;
    // Records that `path` was opened or saved: OpenPath becomes the path
    // (a folder) or its folder (a file) and is written at once; with
    // addToList the path becomes the newest recent entry and the list is
    // written. The path is taken by value: callers often pass an entry of
    // recentPaths itself, which this call erases and moves.
    void addRecent(std::string path, bool addToList, bool isFolder);

private:
    SettingsFile* file_ = nullptr;
};

}  // namespace sigil
