// The program as a user starts it: given a file, it loads it, and at exit
// its settings file holds the recent list and both settings records.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include "platform/SettingsFile.h"
#include "support/IconBytes.h"
#include "support/TempDir.h"

namespace sigil {
namespace {

TEST(ProgramRun, LoadsItsArgumentsAndWritesItsSettingsAtExit)
{
    test::TempDir dir;
    const std::string icon = dir.file("one.ico");
    ASSERT_TRUE(test::writeFile(icon, test::icoFile({test::iconImage(32, 32, 8)})));
    const QString ini = QString::fromStdString(dir.file("Tamberly.ini"));
    const QString picture = QString::fromStdString(dir.file("window.png"));

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("SIGILSCOPE_INI", ini);
    env.insert("SIGILSCOPE_GRAB", picture);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(SIGILSCOPE_EXE), {QString::fromStdString(icon)});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0);

    const QImage window(picture);
    EXPECT_FALSE(window.isNull());
    SettingsFile file;
    file.setPath(ini.toStdString());
    EXPECT_EQ(file.readString("SigilscopeRecent", "path0", ""), icon);
    EXPECT_EQ(file.readString("Sigilscope", "OpenPath", ""), dir.path() + "/");
    EXPECT_EQ(file.readInt("Sigilscope", "Size", 0), 32);             // DisplaySettings saved at exit
    EXPECT_EQ(file.readInt("Sigilscope", "XPDisp", -1), 0);           // switched off at start-up here
    EXPECT_EQ(file.readInt("SigilscopeToolBar", "item0", 0), 57665);  // GeneralSettings saved at exit
}

}  // namespace
}  // namespace sigil
