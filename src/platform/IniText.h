#pragma once
// The text of a sectioned settings file ("[section]" lines, then
// "key=value" lines), held line by line so that changing one key rewrites
// that line only: every other line, comment, blank line and line ending
// stays byte for byte as it was. Sections are indexed when the text is
// read, the keys of a section when it is first used, and the index follows
// every change, so a lookup or a change costs the same in a file of 20,000
// keys as in one of twenty, and a long list costs nothing until it is read.
//
// Text in memory is UTF-8. A file that is not valid UTF-8 was written in
// code page 932 (edited by hand on Japanese Windows): it is read as such and
// written back in it, and a value that has no form there is not written.

#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace sigil {

class IniText {
public:
    enum class Encoding { Utf8, Cp932 };

    // An empty text, written as UTF-8.
    IniText() = default;
    // The bytes of a file, in either encoding.
    explicit IniText(std::string_view bytes);
    // The index points into the lines, so the text moves but is not copied.
    IniText(IniText&&) = default;
    IniText& operator=(IniText&&) = default;
    IniText(const IniText&) = delete;
    IniText& operator=(const IniText&) = delete;

    // The value of the first matching key of the first matching section
    // (both compared without regard to ASCII letter case), blanks around it
    // removed; nothing when the section or key is missing. A key present
    // with an empty value gives "".
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Sets a key: its line is rewritten in place; a missing key goes after
    // the last key line of its section, a missing section at the end.
    // False, with nothing changed, when the line would not read back as this
    // section, key and value: a line break in the value, blanks at either
    // end of it (reading drops them), a key with "=" or a section with "]".
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    // The file's bytes, in its encoding.
    std::string text() const;
    Encoding encoding() const { return encoding_; }
    // The line ending new lines get: the file's own, "\n" for a new file.

private:
    struct Line {
        std::string content;  // UTF-8
        std::string ending;   // "\r\n", "\n" or "" (last line without one)
        // The line's bytes as read from a code page 932 file when they are
        // not ASCII, until the line is changed: several codes read as the
        // same character, and bytes that do not convert read as U+FFFD, so
        // converting back would not give the same bytes.
        std::optional<std::string> original;
    };
    using Lines = std::list<Line>;
    // A section as the lookups see it: only the first section of a name
    // counts, and only the key lines between its header and the next header.
    struct Section {
        Lines::iterator header;
        // Filled in by keysOf() on first use.
        bool indexed = false;
        Lines::iterator lastKey;  // the header while the section has no keys
        // Lower-case key -> its first line in the section.
        std::unordered_map<std::string, Lines::iterator> keys;
    };
    // The section's keys and last key line, indexed on first use.
    Section& keysOf(Section& section) const;
    // Whether a line of this content can be written and read back.
    bool storable(std::string_view content) const;
    Lines::iterator insertLine(Lines::iterator before, std::string content);

    Lines lines_;
    // Lower-case section name -> the section.
    // Mutable: reading indexes a section's keys on first use.
    mutable std::unordered_map<std::string, Section> sections_;
    std::string eol_ = "\n";
    Encoding encoding_ = Encoding::Utf8;
};

}  // namespace sigil
