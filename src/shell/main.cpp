// sigilscope: the icon viewer and icon-library editor.

#include <QApplication>
#include <QLoggingCategory>
#include <QTimer>

#include "model/IconLibrary.h"
#include "platform/AllocatorTuning.h"
#include "platform/SettingsFile.h"
#include "platform/StringTable.h"
#include "settings/DisplaySettingsFile.h"
#include "settings/GeneralSettings.h"
#include "shell/CMainFrame.h"
#include "shell/StartupInfo.h"
#include "shell/TerminationSignals.h"
#include "ui/DisplayImages.h"
#include "ui/IconResources.h"
#include "ui/QtTranslation.h"
#include "view/CIconView.h"

int main(int argc, char* argv[])
{
    sigil::keepFreedMemoryForReuse();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sigilscope"));
    // No display name: on X11 Qt would append it to every window title,
    // which must read exactly as the program sets it.
    // Qt's own image readers report damaged pictures on the console; a bad
    // file is skipped quietly instead.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio=false"));
    // The window background and highlight that the settings default to.
    sigil::adoptPaletteColors();

    const sigil::StartupInfo startup = sigil::makeStartupInfo(QApplication::arguments().mid(1));

    static sigil::IconLibrary library;  // one library for the whole run
    sigil::SettingsFile settingsFile;
    settingsFile.setPath(sigil::SettingsFile::locate(startup.exeDir.toStdString() + "/"));
    sigil::GeneralSettings general;
    general.load(settingsFile);
    sigil::DisplaySettings display;
    loadDisplaySettings(display, settingsFile, "Sigilscope");
    // Alpha icons are shown as they are, never blended as an old system did.
    display.xpDisplay = 0;

    // The interface language, once for the whole run and before any window
    // is built; Qt's file dialogs and questions speak it like the rest.
    const sigil::Language language = sigil::languageFromSetting(general.language, sigil::systemLocaleIsJapanese());
    sigil::setInterfaceLanguage(language);
    sigil::installQtTranslation(app, language);

    sigil::IconResources icons;
    icons.loadLibrary(startup.exeDir);

    int result = 0;
    {
        sigil::CMainFrame frame(library, settingsFile, general, display, icons, startup);
        frame.showWithPlacement();
        // A desktop logging out sends SIGTERM: the settings are still saved
        // and the editor's temporary folders removed, as after a close.
        sigil::handleTerminationSignals(&frame, [&frame](int) { frame.endWithoutQuestions(); });
        QTimer::singleShot(0, &frame, [&] { frame.view()->initialUpdate(startup.commandLineFiles); });
        // SIGILSCOPE_GRAB=FILE.png: once the start-up load has ended, save a
        // picture of the window and quit (for headless runs and checks).
        const QString grab = qEnvironmentVariable("SIGILSCOPE_GRAB");
        QTimer grabTimer;
        if (!grab.isEmpty()) {
            QObject::connect(&grabTimer, &QTimer::timeout, &frame, [&] {
                if (frame.view()->loading() || frame.view()->cellsPending())
                    return;
                grabTimer.stop();
                frame.grab().save(grab);
                QCoreApplication::exit(0);  // no close questions
            });
            grabTimer.start(500);
        }
        result = QApplication::exec();
    }
    general.save();
    saveDisplaySettings(display, settingsFile, "Sigilscope");
    return result;
}
