#include "settings/GeneralSettings.h"

#include <algorithm>
#include <charconv>

namespace sigil {

namespace {

constexpr const char* kItemPrefix = "item";
constexpr const char* kPathPrefix = "path";
// 1 when the user chose a toolbar without buttons: the empty item list is
// then kept instead of reading as the default toolbar.
constexpr const char* kEmptyToolbarKey = "Empty";

// The folder part of a file path, with its trailing separator.
std::string folderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

std::vector<int32_t> defaultToolbarItems()
{
    // Exit, settings | open file, open folder, save library, close file |
    // view sizes 16, 32, 48, 72, 128, other size.
    return {57665, 32980, kToolbarSeparator, 32771, 32772, 32976, 32982, kToolbarSeparator, 32995, 32996, 32997, 32998,
            32999, 33000};
}

void GeneralSettings::load(SettingsFile& file)
{
    file_ = &file;
    const std::string s = kMainSection;
    grid = file.readInt(s, "Grid", 0);
    horizontal = file.readInt(s, "Horiz", 0);
    gridColor = file.readColor(s, "GridColor", 0x808080);
    snapColumns = file.readInt(s, "CopyColumn", 0);
    snapSpacing = file.readInt(s, "CopySeparate", 3);
    saveNaming = file.readInt(s, "SaveType", 0);
    savePrefix = file.readString(s, "SaveText", "icon");
    saveDigits = file.readInt(s, "SaveKeta", 0);
    openPath = file.readString(s, "OpenPath", "");
    bitmapOpenPath = file.readString(s, "OpenPath2", "");
    propertyShown = file.readInt(s, "Property", 0);
    useEditor = file.readInt(s, "Editor", 0);
    editorPath = file.readString(s, "EditorPath", "");
    defaultWidth = file.readInt(s, "DefaultWidth", 32);
    defaultHeight = file.readInt(s, "DefaultHeight", 32);
    defaultBitCount = file.readInt(s, "DefaultBitStore", 8);
    language = file.readString(s, "Language", "ja");
    toolbarSize = file.readInt(kToolBarSection, "Size", 0);
    toolbarItems = file.readIntList(kToolBarSection, kItemPrefix);
    if (toolbarItems.empty() && file.readInt(kToolBarSection, kEmptyToolbarKey, 0) == 0)
        toolbarItems = defaultToolbarItems();
    recentPaths = file.readStringList(kRecentSection, kPathPrefix);
    makeSizes = sizesFromText(file.readString(s, "MakeSizes", sizesText(makeSizes)));
}

std::string sizesText(const std::vector<int32_t>& sizes)
{
    std::string text;
    for (const int32_t size : sizes)
        text += (text.empty() ? "" : ",") + std::to_string(size);
    return text;
}

std::vector<int32_t> sizesFromText(const std::string& text)
{
    std::vector<int32_t> sizes;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find(',', at), text.size());
        int32_t size = 0;
        const auto [stop, error] = std::from_chars(text.data() + at, text.data() + end, size);
        if (error == std::errc() && stop == text.data() + end && size >= 1 && size <= 256)
            sizes.push_back(size);
        at = end + 1;
    }
    return sizes;
}

void GeneralSettings::save() const
{
    if (!file_)
        return;
    SettingsFile& file = *file_;
    const std::string s = kMainSection;
    file.writeInt(s, "Grid", grid);
    file.writeInt(s, "Horiz", horizontal);
    file.writeColor(s, "GridColor", gridColor);
    file.writeInt(s, "CopyColumn", snapColumns);
    file.writeInt(s, "CopySeparate", snapSpacing);
    file.writeInt(s, "SaveType", saveNaming);
    file.writeString(s, "SaveText", savePrefix);
    file.writeInt(s, "SaveKeta", saveDigits);
    file.writeString(s, "OpenPath", openPath);
    file.writeString(s, "OpenPath2", bitmapOpenPath);
    file.writeInt(s, "Property", propertyShown);
    file.writeInt(s, "Editor", useEditor);
    file.writeString(s, "EditorPath", editorPath);
    file.writeInt(s, "DefaultWidth", defaultWidth);
    file.writeInt(s, "DefaultHeight", defaultHeight);
    file.writeString(s, "MakeSizes", sizesText(makeSizes));
    file.writeInt(s, "DefaultBitStore", defaultBitCount);
    file.writeString(s, "Language", language);
    file.writeInt(kToolBarSection, "Size", toolbarSize);
    file.writeInt(kToolBarSection, kEmptyToolbarKey, toolbarItems.empty() ? 1 : 0);
    file.writeIntList(kToolBarSection, kItemPrefix, toolbarItems);
}

void GeneralSettings::addRecent(std::string path, bool addToList, bool isFolder)
{
    openPath = isFolder ? path : folderOf(path);
    if (file_)
        file_->writeString(kMainSection, "OpenPath", openPath);
    if (!addToList)
        return;
    // Byte-wise: paths that differ only in letter case are different entries.
    const auto same = std::find(recentPaths.begin(), recentPaths.end(), path);
    if (same != recentPaths.end())
        recentPaths.erase(same);
    while (recentPaths.size() > kMaxRecentPaths - 1)
        recentPaths.erase(recentPaths.begin());
    recentPaths.push_back(std::move(path));
    if (file_)
        file_->writeStringList(kRecentSection, kPathPrefix, recentPaths);
    if (recentChanged)
        recentChanged();
}

}  // namespace sigil
