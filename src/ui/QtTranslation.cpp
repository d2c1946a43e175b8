#include "ui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sigil {

QTranslator* installQtTranslation(QCoreApplication& app, Language language)
{
    if (language != Language::Japanese)
        return nullptr;
    // Japanese whatever the user's locale, as the program's own texts are.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

}  // namespace sigil
