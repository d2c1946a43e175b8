#pragma once
// What the program learns about itself at start-up.

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace sigil {

struct StartupInfo {
    QString exePath;
    QString exeDir;
    QString versionText;
    std::vector<std::string> commandLineFiles;
};

// "%d.%02d" from the major and minor numbers, then ".%d" for the third
// and, when not 0, ".%d" for the fourth; the third is shown only when the
// pair of them is not zero.
QString versionText(int major, int minor, int patch, int build);

// Each argument is one path (the shell has split and unquoted them); they
// are made absolute against the working folder. Empty ones are dropped.
std::vector<std::string> commandLinePaths(const QStringList& arguments);

StartupInfo makeStartupInfo(const QStringList& arguments);

// The help text file: beside the executable, or else where an installation
// puts the program's shared files (bin/../share/sigilscope); the first
// place when it is in neither.
QString helpFilePath(const QString& exeDir, const QString& fileName);

}  // namespace sigil
