#pragma once
// Settings in a scratch file, and an event pump for tests that wait on the
// load job's notices.

#include <QCoreApplication>
#include <QElapsedTimer>

#include "model/IconLibrary.h"
#include "platform/SettingsFile.h"
#include "settings/DisplaySettingsFile.h"
#include "settings/GeneralSettings.h"
#include "support/TempDir.h"

namespace sigil::test {

// Runs the event loop until `done` holds or a few seconds passed.
template <typename Done> bool pumpUntil(Done done, int milliseconds = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

struct SettingsFixture {
    TempDir dir;
    SettingsFile file;
    GeneralSettings general;
    DisplaySettings display;
    SettingsFixture()
    {
        file.setPath(dir.file("Tamberly.ini"));
        general.load(file);
        loadDisplaySettings(display, file, "Sigilscope");
    }
};

}  // namespace sigil::test
