#include "platform/IniText.h"

#include <algorithm>
#include <span>

#include "platform/Cp932Text.h"

namespace sigil {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view s)
{
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const size_t last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::span<const uint8_t> bytesOf(std::string_view text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Names compare without regard to ASCII letter case; the index keys on
// this form.
std::string folded(std::string_view name)
{
    std::string out(name);
    for (char& c : out)
        c = lowerAscii(c);
    return out;
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view content)
{
    const std::string_view t = trimmed(content);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const size_t close = t.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trimmed(t.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// A "key=value" line; comments (";" first) and lines without "=" are none.
std::optional<KeyLine> keyLine(std::string_view content)
{
    const std::string_view t = trimmed(content);
    if (t.empty() || t.front() == ';')
        return std::nullopt;
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = trimmed(t.substr(0, eq));
    if (key.empty())
        return std::nullopt;
    return KeyLine{key, trimmed(t.substr(eq + 1))};
}

}  // namespace

IniText::IniText(std::string_view text)
{
    if (!isUtf8(bytesOf(text)))
        encoding_ = Encoding::Cp932;
    size_t pos = 0;
    bool endingSeen = false;
    while (pos < text.size()) {
        const size_t nl = text.find('\n', pos);
        Line line;
        if (nl == std::string_view::npos) {
            line.content = text.substr(pos);
            pos = text.size();
        } else {
            // Neither byte of a line break occurs inside a code page 932
            // character, so lines split the same in both encodings.
            const bool crlf = nl > pos && text[nl - 1] == '\r';
            line.content = text.substr(pos, nl - pos - (crlf ? 1 : 0));
            line.ending = crlf ? "\r\n" : "\n";
            pos = nl + 1;
            if (!endingSeen) {
                eol_ = line.ending;
                endingSeen = true;
            }
        }
        if (encoding_ == Encoding::Cp932) {
            std::string decoded = cp932ToUtf8(bytesOf(line.content));
            if (decoded != line.content) {
                line.original = std::move(line.content);
                line.content = std::move(decoded);
            }
        }
        const bool first = lines_.empty();
        const auto at = lines_.insert(lines_.end(), std::move(line));
        std::string_view content = at->content;
        // Editors on Windows like to start UTF-8 files with a byte-order mark.
        if (first && content.starts_with(kUtf8Bom))
            content.remove_prefix(kUtf8Bom.size());
        // Only the first section of a name counts; later ones are never read.
        if (const auto name = sectionName(content))
            sections_.try_emplace(folded(*name), Section{at, false, at, {}});
    }
}

IniText::Section& IniText::keysOf(Section& section) const
{
    if (section.indexed)
        return section;
    section.indexed = true;
    // The section ends at the next header line, of any name.
    for (auto at = std::next(section.header); at != lines_.cend() && !sectionName(at->content); ++at) {
        if (const auto kv = keyLine(at->content)) {
            section.keys.try_emplace(folded(kv->key), at);
            section.lastKey = at;
        }
    }
    return section;
}

std::optional<std::string> IniText::value(std::string_view section, std::string_view key) const
{
    const auto s = sections_.find(folded(section));
    if (s == sections_.end())
        return std::nullopt;
    const Section& keys = keysOf(s->second);
    const auto found = keys.keys.find(folded(key));
    if (found == keys.keys.end())
        return std::nullopt;
    return std::string(keyLine(found->second->content)->value);
}

IniText::Lines::iterator IniText::insertLine(Lines::iterator before, std::string content)
{
    // A last line without an ending gets one so the new line starts on its own.
    // Its own last "\r" would join a "\n" to make one line break, so such a
    // line gets "\r\n" after it, which reads back without touching it.
    if (before != lines_.begin()) {
        Line& previous = *std::prev(before);
        if (previous.ending.empty())
            previous.ending = previous.content.ends_with('\r') ? "\r\n" : eol_;
    }
    return lines_.insert(before, Line{std::move(content), eol_});
}

bool IniText::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    auto found = sections_.find(folded(section));
    std::string header;
    if (found == sections_.end()) {
        header = "[" + std::string(section) + "]";
        const auto name = sectionName(header);
        if (!name || folded(*name) != folded(section) || !storable(header))
            return false;
    }
    const Lines::iterator* known = nullptr;
    if (found != sections_.end()) {
        Section& keys = keysOf(found->second);
        const auto k = keys.keys.find(folded(key));
        if (k != keys.keys.end())
            known = &k->second;
    }
    // Keep the key as the file spells it.
    std::string content =
        (known ? std::string(keyLine((*known)->content)->key) : std::string(key)) + "=" + std::string(value);
    const auto kv = keyLine(content);
    if (!kv || sectionName(content) || folded(kv->key) != folded(key) || kv->value != value || !storable(content))
        return false;
    if (known) {
        (*known)->content = std::move(content);
        (*known)->original.reset();
        return true;
    }
    if (found == sections_.end()) {
        const auto at = insertLine(lines_.end(), std::move(header));
        found = sections_.emplace(folded(section), Section{at, true, at, {}}).first;
    }
    Section& s = found->second;
    // After the section's last key line, so blank lines and comments that
    // close the section stay below it.
    const auto at = insertLine(std::next(s.lastKey), std::move(content));
    s.keys.emplace(folded(key), at);
    s.lastKey = at;
    return true;
}

bool IniText::storable(std::string_view content) const
{
    // A line break would end the line and make the rest a line of its own.
    if (content.find_first_of("\r\n") != std::string_view::npos)
        return false;
    // Bytes that are not UTF-8 would make the whole file read as code page
    // 932 next time.
    if (encoding_ == Encoding::Utf8)
        return isUtf8(bytesOf(content));
    return utf8ToCp932(content).has_value();
}

std::string IniText::text() const
{
    std::string out;
    for (const Line& line : lines_) {
        if (line.original)
            out += *line.original;
        else if (encoding_ == Encoding::Cp932)
            out += utf8ToCp932(line.content).value_or(std::string());  // storable() checked it
        else
            out += line.content;
        out += line.ending;
    }
    // Once a change has replaced the last line that was not UTF-8, the code
    // page 932 bytes left may happen to be UTF-8 and would be read as such
    // next time, other characters than they stand for. The text is then
    // written as UTF-8, which reads back as it is now.
    if (encoding_ == Encoding::Cp932 && isUtf8(bytesOf(out)) && !isAscii(out)) {
        out.clear();
        for (const Line& line : lines_)
            out += line.content + line.ending;
    }
    return out;
}

}  // namespace sigil
