#pragma once
// The text of a sectioned settings file ("[section]" lines, then
// "key=value" lines), held line by line so that changing one key rewrites
// that line only: every other line, comment, blank line and line ending
// stays byte for byte as it was.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sigil {

class IniText {
public:
    IniText() = default;
    explicit IniText(std::string_view text);

    // The value of the first matching key of the first matching section
    // (both compared without regard to ASCII letter case), blanks around it
    // removed; nothing when the section or key is missing. A key present
    // with an empty value gives "".
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Sets a key: its line is rewritten in place; a missing key goes after
    // the last key line of its section, a missing section at the end.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;
    // The line ending new lines get: the file's own, "\n" for a new file.
    const std::string& lineEnding() const { return eol_; }

private:
    struct Line {
        std::string content;
        std::string ending;  // "\r\n", "\n" or "" (last line without one)
    };
    // Index of the section's header line, or -1.
    int findSection(std::string_view section) const;
    // Index of the key's line inside the section starting after `header`, or -1.
    int findKey(int header, std::string_view key) const;
    // Index one past the section's last key line (the header's next line
    // when it has no keys).
    int insertionPoint(int header) const;
    void insertLine(int at, std::string content);

    std::vector<Line> lines_;
    std::string eol_ = "\n";
};

}  // namespace sigil
