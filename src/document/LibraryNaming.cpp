#include "document/LibraryNaming.h"

#include "formats/LoadJob.h"
#include "platform/StringTable.h"

namespace sigil {

QString libraryTitle(const std::string& libraryPath, bool modified, bool loading)
{
    QString title = QStringLiteral("Sigilscope - ");
    if (libraryPath.empty()) {
        title += loadString(str::Untitled);
    } else {
        const PathParts parts = splitPath(libraryPath);
        title += QString::fromStdString(parts.baseName + parts.extension);
    }
    if (modified)
        title += QLatin1Char('*');
    if (loading)
        title += loadString(str::Loading);
    return title;
}

LibraryName nameForFirstPath(const std::string& path, bool isFolder)
{
    if (isFolder) {
        std::string folder = path;
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        return {folder + ".icl", true};
    }
    const PathParts parts = splitPath(path);
    if (lowerExtension(parts.extension) == ".icl")
        return {path, false};
    return {parts.baseName + ".icl", true};
}

}  // namespace sigil
