// The program as a user starts it: given a file, it loads it, and at exit
// its settings file holds the recent list and both settings records.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <csignal>

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

// A desktop logging out sends SIGTERM (and a terminal SIGINT or SIGHUP): the
// program ends as a close would, without asking about its unsaved library,
// and its settings are written.
TEST(ProgramRun, TerminationSignalsEndItAsACloseWithoutQuestions)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        test::TempDir dir;
        const std::string icon = dir.file("one.ico");  // opened as "one.icl", unsaved
        ASSERT_TRUE(test::writeFile(icon, test::icoFile({test::iconImage(32, 32, 8)})));
        const QString ini = QString::fromStdString(dir.file("Tamberly.ini"));
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("SIGILSCOPE_INI", ini);
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(SIGILSCOPE_EXE), {QString::fromStdString(icon)});
        ASSERT_TRUE(program.waitForStarted(60000));
        // The recent list is written as soon as the file is queued.
        SettingsFile file;
        file.setPath(ini.toStdString());
        for (int i = 0; i < 6000 && file.readString("SigilscopeRecent", "path0", "").empty(); ++i)
            QThread::msleep(10);
        ASSERT_EQ(file.readString("SigilscopeRecent", "path0", ""), icon);
        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signal), 0);
        ASSERT_TRUE(program.waitForFinished(60000)) << signal;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(program.exitCode(), 0) << signal;
        EXPECT_EQ(file.readInt("Sigilscope", "Size", 0), 32) << signal;             // display settings
        EXPECT_EQ(file.readInt("SigilscopeToolBar", "item0", 0), 57665) << signal;  // general settings
    }
}

}  // namespace
}  // namespace sigil
