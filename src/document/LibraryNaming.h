#pragma once
// The document rules of the library that need no window: the title and
// the name a library takes from the first path opened into it.

#include <QString>
#include <string>

namespace sigil {

// "Sigilscope - " + the file name of libraryPath (or str::Untitled), "*"
// when modified, str::Loading while loading; no blanks in between.
QString libraryTitle(const std::string& libraryPath, bool modified, bool loading);

struct LibraryName {
    std::string path;  // libraryPath
    bool modified;
};
// The name of a new library opened from `path`: a folder gives
// folder + ".icl" (modified), an .icl file keeps its own path, any other
// file gives its bare base name + ".icl" (modified), without a folder.
LibraryName nameForFirstPath(const std::string& path, bool isFolder);

}  // namespace sigil
