#include "formats/IconFileNames.h"

#include <algorithm>

namespace sigil {

namespace {

bool replacedByte(unsigned char c)
{
    return c < 0x20 || c == 0x7f || c == '/' || c == '\\';
}

// Cuts to at most `limit` bytes without splitting a UTF-8 sequence.
void cutUtf8(std::string& s, size_t limit)
{
    if (s.size() <= limit)
        return;
    size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80)
        --cut;
    s.resize(cut);
}

std::string replaceUnsafeBytes(const std::string& name)
{
    std::string s;
    s.reserve(name.size());
    for (char c : name)
        s += replacedByte(static_cast<unsigned char>(c)) ? '_' : c;
    return s;
}

// A leading "." would hide the file from file dialogs, `ls` and `rm *`.
void unhide(std::string& s)
{
    if (!s.empty() && s.front() == '.')
        s.front() = '_';
}

}  // namespace

std::string safeFileBaseName(const std::string& name)
{
    std::string s = replaceUnsafeBytes(name);
    cutUtf8(s, kIconBaseNameBytes);
    if (s.find_first_not_of('.') == std::string::npos)
        s.assign(s.size(), '_');
    unhide(s);
    return s;
}

std::string iconFileBaseName(const IconFileNaming& naming, int index, const std::string& iconName)
{
    if (!naming.numbered && !iconName.empty())
        return safeFileBaseName(iconName);
    std::string number = std::to_string(index + 1);
    // The pad is bounded by the name limit anyway; cap it before allocating.
    const size_t width = static_cast<size_t>(std::clamp(naming.digits, 0, int(kIconBaseNameBytes)));
    if (number.size() < width)
        number.insert(0, width - number.size(), '0');
    // A long prefix gives way to the number, so the numbers stay apart.
    std::string prefix = replaceUnsafeBytes(naming.prefix);
    unhide(prefix);
    cutUtf8(prefix, kIconBaseNameBytes - number.size());
    return prefix + number;
}

std::string iconFilePath(const std::string& folder, const std::string& baseName, int attempt)
{
    std::string path = folder;
    if (path.empty() || path.back() != '/')
        path += '/';
    path += baseName;
    if (attempt > 0)
        path += "_" + std::to_string(attempt);
    return path + ".ico";
}

}  // namespace sigil
