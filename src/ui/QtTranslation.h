#pragma once
// Qt's own texts (file dialog labels, the overwrite question, standard
// buttons) in the interface language, to match the rest of the interface.

#include "platform/StringTable.h"

class QCoreApplication;
class QTranslator;

namespace sigil {

// For Japanese, loads Qt's Japanese translation (qtbase_ja) from Qt's
// translations folder and installs it into `app`, which owns it; null when
// it is not installed on this machine, and Qt's texts stay English. For
// English nothing is loaded: Qt's own texts are English.
QTranslator* installQtTranslation(QCoreApplication& app, Language language = Language::Japanese);

}  // namespace sigil
