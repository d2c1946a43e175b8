// Feeds arbitrary bytes to the settings file parser. The text must come
// back byte for byte; a change the parser accepts must read back, also
// after the text is parsed again, and leave the other keys' values as they
// were; and the value conversions must not fault.
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/IniText.h"
#include "platform/SettingsFile.h"

namespace {

struct Key {
    const char* section;
    const char* key;
};

// Keys the program reads, in the sections it uses, and names that stress the
// index: letter case, a repeated section, an empty key.
constexpr Key kKeys[] = {{"Sigilscope", "GridColor"},
                         {"Sigilscope", "FolderRect"},
                         {"SIGILSCOPE", "ptshortcut"},
                         {"SigilscopeRecent", "path0"},
                         {"SigilscopeRecent", "path1"},
                         {"A", "x"},
                         {"", ""},
                         {"PlaceBar", "path0"}};

bool sameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    sigil::IniText text(bytes);
    check(text.text() == bytes);

    std::optional<std::string> before[std::size(kKeys)];
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        before[i] = text.value(kKeys[i].section, kKeys[i].key);
        if (before[i]) {
            sigil::SettingsColor color = 0;
            sigil::SettingsRect rect;
            sigil::SettingsPoint point;
            sigil::SettingsFile::parseColor(*before[i], color);
            sigil::SettingsFile::parseRect(*before[i], rect);
            sigil::SettingsFile::parsePoint(*before[i], point);
            (void)sigil::SettingsFile::parseInt(*before[i]);
        }
    }

    // A key chosen by the first byte, set to the last bytes of the input.
    if (size == 0)
        return 0;
    const size_t which = data[0] % std::size(kKeys);
    const std::string value(bytes.substr(size - std::min<size_t>(size - 1, 40)));
    if (!text.setValue(kKeys[which].section, kKeys[which].key, value))
        return 0;
    const sigil::IniText again(text.text());
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        const bool same = sameName(kKeys[i].section, kKeys[which].section) && sameName(kKeys[i].key, kKeys[which].key);
        check(text.value(kKeys[i].section, kKeys[i].key) == (same ? value : before[i]));
        check(again.value(kKeys[i].section, kKeys[i].key) == (same ? value : before[i]));
    }
    return 0;
}
