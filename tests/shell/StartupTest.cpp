#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "platform/SettingsFile.h"
#include "platform/StringTable.h"
#include "settings/MainWindowPlacement.h"
#include "shell/StartupInfo.h"
#include "support/TempDir.h"
#include "ui/CommandTable.h"

namespace sigil {
namespace {

TEST(StartupInfo, VersionTextFormats)
{
    EXPECT_EQ(versionText(1, 0, 0, 0), QStringLiteral("1.00"));
    EXPECT_EQ(versionText(2, 5, 3, 0), QStringLiteral("2.05.3"));
    EXPECT_EQ(versionText(2, 5, 3, 7), QStringLiteral("2.05.3.7"));
}

TEST(StartupInfo, EveryArgumentIsOneAbsolutePath)
{
    const QString here = QDir::currentPath();
    const auto paths = commandLinePaths(
        {QStringLiteral("a.ico"), QStringLiteral("/x/with blank.icl"), QString(), QStringLiteral("sub/../b.dll")});
    ASSERT_EQ(paths.size(), 3u);
    EXPECT_EQ(paths[0], (here + QStringLiteral("/a.ico")).toStdString());
    EXPECT_EQ(paths[1], "/x/with blank.icl");
    EXPECT_EQ(paths[2], (here + QStringLiteral("/b.dll")).toStdString());
}

TEST(StartupInfo, HelpTextBesideTheExecutableOrInTheInstalledSharedFolder)
{
    test::TempDir dir;
    const QString root = QString::fromStdString(dir.path());
    const QString bin = root + QStringLiteral("/bin");
    const QString shared = root + QStringLiteral("/share/sigilscope");
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(shared));
    const QString name = QStringLiteral("Sigilscope_help.txt");
    EXPECT_EQ(helpFilePath(bin, name), bin + QLatin1Char('/') + name);  // in neither place
    QFile installed(shared + QLatin1Char('/') + name);
    ASSERT_TRUE(installed.open(QIODevice::WriteOnly));
    installed.close();
    EXPECT_EQ(helpFilePath(bin, name), shared + QLatin1Char('/') + name);
    QFile beside(bin + QLatin1Char('/') + name);
    ASSERT_TRUE(beside.open(QIODevice::WriteOnly));
    beside.close();
    EXPECT_EQ(helpFilePath(bin, name), bin + QLatin1Char('/') + name);
}

TEST(StringTable, TextsAndCommandPrompts)
{
    EXPECT_EQ(loadString(57707), QStringLiteral("無題"));
    EXPECT_EQ(loadString(57716), QStringLiteral("Sigilscope_help.txt"));
    EXPECT_TRUE(loadString(57667).isEmpty());
    EXPECT_EQ(commandText(32771), QStringLiteral("ファイルを開く"));
    EXPECT_EQ(commandTooltip(32771), QStringLiteral("ファイルを開く [Ctrl+O]"));
    EXPECT_EQ(commandTooltip(57707), QStringLiteral("無題"));  // no "\n": the whole string
}

MainWindowPlacement rect(int left, int top, int right, int bottom)
{
    MainWindowPlacement p;
    p.left = left;
    p.top = top;
    p.right = right;
    p.bottom = bottom;
    return p;
}

TEST(MainWindowPlacement, CascadeMovesByOneCaption)
{
    const QRect desktop(0, 0, 1280, 1024);
    const MainWindowPlacement p = placementToSave(rect(100, 100, 900, 700), true, 24, desktop);
    EXPECT_EQ(QRect(QPoint(p.left, p.top), QPoint(p.right, p.bottom)), QRect(QPoint(124, 124), QPoint(924, 724)));
}

TEST(MainWindowPlacement, CascadeBelowTheDesktopStartsAtTheCorner)
{
    const QRect desktop(0, 0, 1280, 1024);
    const MainWindowPlacement p = placementToSave(rect(100, 300, 900, 1010), true, 24, desktop);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
    EXPECT_EQ(p.right, 800);
    EXPECT_EQ(p.bottom, 710);
}

TEST(MainWindowPlacement, NegativeEdgesAreMovedBackOntoTheScreen)
{
    const QRect desktop(0, 0, 1280, 1024);
    const MainWindowPlacement p = placementToSave(rect(-50, -20, 750, 580), false, 24, desktop);
    EXPECT_EQ(p.left, 0);
    EXPECT_EQ(p.top, 0);
    EXPECT_EQ(p.right, 800);
    EXPECT_EQ(p.bottom, 600);
}

TEST(MainWindowPlacement, RoundTripsThroughTheSettingsFile)
{
    test::TempDir dir;
    SettingsFile file;
    file.setPath(dir.file("Tamberly.ini"));
    MainWindowPlacement none;
    EXPECT_FALSE(readPlacement(file, none, QRect(0, 0, 800, 600)));
    MainWindowPlacement saved = rect(10, 20, 610, 420);
    saved.showCmd = 1;
    writePlacement(file, saved);
    MainWindowPlacement read;
    ASSERT_TRUE(readPlacement(file, read, QRect(0, 0, 800, 600)));
    EXPECT_EQ(read.left, 10);
    EXPECT_EQ(read.bottom, 420);
    EXPECT_EQ(read.showCmd, 1);
    EXPECT_EQ(file.readInt("Sigilscope", "Plase", 0), 1);
}

}  // namespace
}  // namespace sigil
