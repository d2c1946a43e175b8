#pragma once
// Typed access to the program's settings file ("Tamberly.ini"): a sectioned
// text file of "key=value" lines in UTF-8, or in code page 932 when it was
// written so on Japanese Windows (the file keeps its encoding). Every read opens the file anew and
// every write rewrites it at once, so two copies of the program running side
// by side see each other's lists and window rectangles.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sigil {

class IniText;

// Colours are 0x00BBGGRR (red in the low byte).
using SettingsColor = uint32_t;

struct SettingsPoint {
    int x = 0;
    int y = 0;
    bool operator==(const SettingsPoint&) const = default;
};

// right and bottom are exclusive.
struct SettingsRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const SettingsRect&) const = default;
};

class SettingsFile {
public:
    static constexpr const char* kFileName = "Tamberly.ini";

    // The folder of the running executable, with a trailing "/".
    static std::string executableDirectory();
    // Where the settings file lives: $SIGILSCOPE_INI when set; else
    // "Tamberly.ini" in `executableDir` when it can be written there (the
    // file is writable, or there is none and the folder is writable); else
    // $XDG_CONFIG_HOME/sigilscope/Tamberly.ini (~/.config/sigilscope/
    // without it), which starts as a copy of the read-only file beside the
    // executable when there is one.
    static std::string locate(const std::string& executableDir);

    // path = executable's directory + name.
    void setFile(const std::string& name);
    void setPath(const std::string& fullPath);
    const std::string& path() const { return path_; }
    // The file's folder with a trailing "/".
    const std::string& directory() const { return directory_; }

    // A missing key gives the default; a key present with an empty value
    // gives "". Values longer than 32 KiB read as "".
    std::string readString(const std::string& section, const std::string& key, const std::string& def) const;
    // The leading decimal number of the value (0 without one).
    int32_t readInt(const std::string& section, const std::string& key, int32_t def) const;
    // "r,g,b"; a value that does not parse gives the whole default.
    SettingsColor readColor(const std::string& section, const std::string& key, SettingsColor def) const;
    // "x,y"
    SettingsPoint readPoint(const std::string& section, const std::string& key, SettingsPoint def) const;
    // "left,top,width,height"
    SettingsRect readRect(const std::string& section, const std::string& key, const SettingsRect& def) const;

    // Lists stored as prefix0, prefix1, ...: integers end at the first 0,
    // strings at the first empty value.
    std::vector<int32_t> readIntList(const std::string& section, const std::string& prefix) const;
    std::vector<std::string> readStringList(const std::string& section, const std::string& prefix) const;

    // Writes go to the file at once. The answer is for tests only: callers
    // carry on whatever it is, and a failed write leaves the old file whole.
    // A value that would not read back as written (longer than 32 KiB, a
    // line break, blanks at either end, no form in the file's encoding) is
    // not written and the key keeps its old value.
    bool writeString(const std::string& section, const std::string& key, const std::string& text);
    bool writeInt(const std::string& section, const std::string& key, int32_t value);
    bool writeColor(const std::string& section, const std::string& key, SettingsColor color);
    bool writePoint(const std::string& section, const std::string& key, SettingsPoint point);
    bool writeRect(const std::string& section, const std::string& key, const SettingsRect& rect);
    // Writes the items and then the end mark (0, or an empty value) at the
    // next index; older keys past the end mark stay but are never read.
    // Strings that cannot be written are left out of the list (the answer
    // is then false).
    bool writeIntList(const std::string& section, const std::string& prefix, const std::vector<int32_t>& items);
    bool writeStringList(const std::string& section, const std::string& prefix, const std::vector<std::string>& items);

    // The value conversions, on their own.
    static int32_t parseInt(const std::string& text);
    static bool parseColor(const std::string& text, SettingsColor& color);
    static bool parsePoint(const std::string& text, SettingsPoint& point);
    static bool parseRect(const std::string& text, SettingsRect& rect);
    static std::string formatColor(SettingsColor color);
    static std::string formatPoint(SettingsPoint point);
    static std::string formatRect(const SettingsRect& rect);

private:
    // Loads the file, applies `edit` and writes the file when it changed.
    // The answer is false when anything failed, `edit` included.
    bool update(const std::function<bool(IniText&)>& edit);
    static bool store(IniText& text, const std::string& section, const std::string& key, const std::string& value);

    std::string path_;
    std::string directory_;
};

}  // namespace sigil
