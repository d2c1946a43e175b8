#include "ui/IntegerEdit.h"

#include <QLineEdit>

#include "platform/StringTable.h"
#include "ui/MessageBoxes.h"

namespace sigil {

std::optional<int> readIntegerEdit(QLineEdit* edit)
{
    bool ok = false;
    // toInt takes a sign and refuses anything else, including a value past int.
    const int value = edit->text().trimmed().toInt(&ok, 10);
    if (ok)
        return value;
    showMessage(edit->window(), loadString(str::NotAnInteger), QMessageBox::Warning);
    edit->setFocus();
    edit->selectAll();
    return std::nullopt;
}

}  // namespace sigil
