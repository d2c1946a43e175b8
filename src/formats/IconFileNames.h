#pragma once
// File names for icons written one file each (save all as icons, and
// `sigil extract`): the icon's own name or a numbered pattern, made safe to
// use as one name inside the chosen folder, and the names to try after it
// when something stands there already.

#include <string>

namespace sigil {

struct IconFileNaming {
    bool numbered = false;        // prefix + zero-padded number instead of the icon's name
    std::string prefix = "icon";  // taken literally
    int digits = 0;               // width of the number field; 0 (or less): no padding
};

// The longest base name kept, in bytes: room is left within the file-name
// limit of 255 bytes for "_" + a counter + ".ico".
constexpr size_t kIconBaseNameBytes = 255 - 16;

// `name` as one file name: "/", "\" and control characters become "_", a
// name of dots only ("." or "..") gets its dots replaced, a leading "." (a
// hidden file) becomes "_", and the result is cut to kIconBaseNameBytes
// without splitting a UTF-8 sequence.
std::string safeFileBaseName(const std::string& name);

// The base name (without ".ico") of icon `index` (0-based): numbered, it is
// the prefix (made safe the same way) and index + 1 padded to `digits`;
// otherwise the icon's name. An empty name takes the numbered form, so that
// every file is visible.
std::string iconFileBaseName(const IconFileNaming& naming, int index, const std::string& iconName);

// folder/base.ico for attempt 0, folder/base_1.ico, base_2.ico, ... after.
std::string iconFilePath(const std::string& folder, const std::string& baseName, int attempt);

}  // namespace sigil
