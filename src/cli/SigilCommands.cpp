#include "cli/SigilCommands.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <ostream>

#include "formats/IconFile.h"
#include "formats/LoadJob.h"
#include "model/IconLibrary.h"
#include "model/Palettes.h"
#include "platform/FileBytes.h"

namespace sigil {

namespace {

constexpr const char* kUsage =
    "usage: sigil list [--json] PATH...\n"
    "       sigil extract PATH... -o DIR\n";

// Loads each path as the load job does; names the paths that gave nothing.
bool loadPaths(IconLibrary& library, const std::vector<std::string>& paths, std::ostream& err)
{
    bool allRead = true;
    for (const std::string& given : paths) {
        // Icons record the full path of their source, as the program does.
        const QFileInfo info(toQtPath(given));
        const std::string path = given.empty() ? given : fromQtPath(info.absoluteFilePath());
        bool ok = false;
        if (!info.exists()) {
            err << "sigil: " << path << ": no such file or folder\n";
        } else if (info.isDir()) {
            // Files inside a folder that are not icons are skipped quietly,
            // as the program does; the folder fails only when unreadable.
            ok = info.isReadable() && info.isExecutable();
            scanFolder(library, path);
            if (!ok)
                err << "sigil: " << path << ": cannot read the folder\n";
        } else {
            ok = openFile(library, path);
            if (!ok)
                err << "sigil: " << path << ": not a readable icon file\n";
        }
        allRead = allRead && ok;
    }
    return allRead;
}

void printText(const IconEntry& icon, std::ostream& out)
{
    out << icon.name << '\t' << icon.source << '\n';
    for (const IconDevice& d : icon.devices) {
        out << "  " << d.width << 'x' << d.height << '\t' << d.bitCount << "bit\t" << colorClassLabel(d.bitCount)
            << '\t' << d.allocatedBytes() << " bytes\n";
    }
}

void printJson(const IconEntry& icon, std::ostream& out)
{
    QJsonArray devices;
    for (const IconDevice& d : icon.devices) {
        devices.append(QJsonObject{{"width", d.width},
                                   {"height", d.height},
                                   {"bitCount", d.bitCount},
                                   {"bytes", static_cast<qint64>(d.allocatedBytes())}});
    }
    const QJsonObject object{{"name", QString::fromStdString(icon.name)},
                             {"source", QString::fromStdString(icon.source)},
                             {"devices", devices}};
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

int listCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    bool json = false;
    std::vector<std::string> paths;
    for (const std::string& a : args) {
        if (a == "--json")
            json = true;
        else
            paths.push_back(a);
    }
    if (paths.empty()) {
        err << kUsage;
        return kExitUsage;
    }
    IconLibrary library;
    const bool ok = loadPaths(library, paths, err);
    for (int i = 0; i < library.size(); ++i) {
        if (json)
            printJson(library.at(i), out);
        else
            printText(library.at(i), out);
    }
    return ok ? kExitOk : kExitFailed;
}

// A file name from an icon name: no folder separators, never empty.
std::string safeFileName(const std::string& name)
{
    std::string s;
    for (char c : name)
        s += (c == '/' || c == '\0') ? '_' : c;
    if (s.empty() || s == "." || s == "..")
        s = "icon" + s;
    return s;
}

std::string unusedPath(const std::string& dir, const std::string& name)
{
    const std::string base = dir + "/" + safeFileName(name);
    std::string path = base + ".ico";
    for (int n = 1; QFileInfo::exists(toQtPath(path)); ++n)
        path = base + "_" + std::to_string(n) + ".ico";
    return path;
}

int extractCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> paths;
    std::string dir;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 >= args.size()) {
                err << kUsage;
                return kExitUsage;
            }
            dir = args[++i];
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.empty() || dir.empty()) {
        err << kUsage;
        return kExitUsage;
    }
    const QFileInfo dirInfo(toQtPath(dir));
    if (!dirInfo.isDir()) {
        err << "sigil: " << dir << ": not a folder\n";
        return kExitFailed;
    }
    IconLibrary library;
    bool ok = loadPaths(library, paths, err);
    for (int i = 0; i < library.size(); ++i) {
        const IconEntry& icon = library.at(i);
        if (icon.devices.empty())
            continue;
        const std::string target = unusedPath(dir, icon.name);
        if (writeIconFile(icon, target)) {
            out << target << '\n';
        } else {
            err << "sigil: " << target << ": cannot write the file\n";
            ok = false;
        }
    }
    return ok ? kExitOk : kExitFailed;
}

}  // namespace

int runSigil(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        err << kUsage;
        return kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "list")
        return listCommand(rest, out, err);
    if (args[0] == "extract")
        return extractCommand(rest, out, err);
    err << kUsage;
    return kExitUsage;
}

}  // namespace sigil
