#include "platform/IniText.h"

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

bool equalNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
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
    size_t pos = 0;
    bool endingSeen = false;
    while (pos < text.size()) {
        const size_t nl = text.find('\n', pos);
        Line line;
        if (nl == std::string_view::npos) {
            line.content = text.substr(pos);
            pos = text.size();
        } else {
            const bool crlf = nl > pos && text[nl - 1] == '\r';
            line.content = text.substr(pos, nl - pos - (crlf ? 1 : 0));
            line.ending = crlf ? "\r\n" : "\n";
            pos = nl + 1;
            if (!endingSeen) {
                eol_ = line.ending;
                endingSeen = true;
            }
        }
        lines_.push_back(std::move(line));
    }
}

int IniText::findSection(std::string_view section) const
{
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view content = lines_[i].content;
        // Editors on Windows like to start UTF-8 files with a byte-order mark.
        if (i == 0 && content.starts_with(kUtf8Bom))
            content.remove_prefix(kUtf8Bom.size());
        const auto name = sectionName(content);
        if (name && equalNoCase(*name, section))
            return static_cast<int>(i);
    }
    return -1;
}

int IniText::findKey(int header, std::string_view key) const
{
    for (size_t i = static_cast<size_t>(header) + 1; i < lines_.size(); ++i) {
        if (sectionName(lines_[i].content))
            return -1;
        const auto kv = keyLine(lines_[i].content);
        if (kv && equalNoCase(kv->key, key))
            return static_cast<int>(i);
    }
    return -1;
}

int IniText::insertionPoint(int header) const
{
    int after = header;
    for (size_t i = static_cast<size_t>(header) + 1; i < lines_.size(); ++i) {
        if (sectionName(lines_[i].content))
            break;
        if (keyLine(lines_[i].content))
            after = static_cast<int>(i);
    }
    return after + 1;
}

std::optional<std::string> IniText::value(std::string_view section, std::string_view key) const
{
    const int header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const int at = findKey(header, key);
    if (at < 0)
        return std::nullopt;
    return std::string(keyLine(lines_[static_cast<size_t>(at)].content)->value);
}

void IniText::insertLine(int at, std::string content)
{
    // A last line without an ending gets one so the new line starts on its own.
    if (at > 0 && lines_[static_cast<size_t>(at - 1)].ending.empty())
        lines_[static_cast<size_t>(at - 1)].ending = eol_;
    lines_.insert(lines_.begin() + at, Line{std::move(content), eol_});
}

void IniText::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    // A line break inside a value would end the line and make the rest a new
    // key; such values are written on one line with blanks instead.
    std::string flat(value);
    for (char& c : flat) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    int header = findSection(section);
    if (header < 0) {
        header = static_cast<int>(lines_.size());
        insertLine(header, "[" + std::string(section) + "]");
    }
    const int at = findKey(header, key);
    if (at >= 0) {
        Line& line = lines_[static_cast<size_t>(at)];
        // Keep the key as the file spells it.
        line.content = std::string(keyLine(line.content)->key) + "=" + flat;
        return;
    }
    insertLine(insertionPoint(header), std::string(key) + "=" + flat);
}

std::string IniText::text() const
{
    std::string out;
    for (const Line& line : lines_) {
        out += line.content;
        out += line.ending;
    }
    return out;
}

}  // namespace sigil
