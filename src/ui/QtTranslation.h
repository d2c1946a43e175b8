#pragma once
// Qt's own texts (file dialog labels, the overwrite question, standard
// buttons) in Japanese, to match the rest of the interface.

class QCoreApplication;
class QTranslator;

namespace sigil {

// Loads Qt's Japanese translation (qtbase_ja) from Qt's translations folder
// and installs it into `app`, which owns it; null when it is not installed
// on this machine, and Qt's texts stay English.
QTranslator* installQtTranslation(QCoreApplication& app);

}  // namespace sigil
