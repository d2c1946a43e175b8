#include "shell/StartupInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifndef SIGIL_VERSION_MAJOR
#define SIGIL_VERSION_MAJOR 1
#define SIGIL_VERSION_MINOR 0
#define SIGIL_VERSION_PATCH 0
#endif

namespace sigil {

QString versionText(int major, int minor, int patch, int build)
{
    QString text = QString::asprintf("%d.%02d", major, minor);
    if (patch > 0 || build > 0) {
        text += QString::asprintf(".%d", patch);
        if (build != 0)
            text += QString::asprintf(".%d", build);
    }
    return text;
}

std::vector<std::string> commandLinePaths(const QStringList& arguments)
{
    std::vector<std::string> paths;
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        paths.push_back(QDir::cleanPath(QFileInfo(argument).absoluteFilePath()).toStdString());
    }
    return paths;
}

StartupInfo makeStartupInfo(const QStringList& arguments)
{
    StartupInfo info;
    info.exePath = QCoreApplication::applicationFilePath();
    info.exeDir = QCoreApplication::applicationDirPath();
    info.versionText = versionText(SIGIL_VERSION_MAJOR, SIGIL_VERSION_MINOR, SIGIL_VERSION_PATCH, 0);
    info.commandLineFiles = commandLinePaths(arguments);
    return info;
}

QString helpFilePath(const QString& exeDir, const QString& fileName)
{
    const QString beside = QDir(exeDir).filePath(fileName);
    const QString installed = QDir(exeDir).filePath(QStringLiteral("../share/sigilscope/") + fileName);
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return QDir::cleanPath(installed);
    return beside;
}

}  // namespace sigil
