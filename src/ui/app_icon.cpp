// Writes the program's own icon as PNG pictures for an icon theme:
// DIR/SIZExSIZE/apps/sigilscope.png at every size given.
//
//   sigil_app_icon DIR SIZE...

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "ui/IconIds.h"
#include "ui/IconResources.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: sigil_app_icon DIR SIZE...\n");
        return 2;
    }
    // Pictures only: no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const sigil::IconResources icons;
    for (int i = 2; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        const QPixmap picture = icons.pixmap(sigil::icons::kApplication, size);
        if (picture.isNull() || !QDir().mkpath(folder) ||
            !picture.save(folder + QStringLiteral("/sigilscope.png"), "PNG")) {
            std::fprintf(stderr, "sigil_app_icon: cannot write the %dx%d icon\n", size, size);
            return 1;
        }
    }
    return 0;
}
