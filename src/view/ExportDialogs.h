#pragma once
// The dialogs of save all as icons (106, save options) and snap all (109).
// They only collect the choice; the document applies it.

#include <QDialog>

#include "document/DocumentHost.h"

class QLineEdit;
class QRadioButton;

namespace sigil {

// Dialog 106: names from the icons (1015) or numbered (1016) with a prefix
// (1013) and a digit count (1014); the two edits are enabled only for the
// numbered form. OK with the numbered form and a negative digit count keeps
// the dialog open.
class SaveOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SaveOptionsDialog(const SaveAllChoice& choice, QWidget* parent = nullptr);
    const SaveAllChoice& choice() const { return choice_; }
    void accept() override;

private:
    void updateEnabling();

    QRadioButton* byName_;
    QRadioButton* numbered_;
    QLineEdit* prefixEdit_;
    QLineEdit* digitsEdit_;
    SaveAllChoice choice_;
};

// Dialog 109: icons per line (1011) and spacing (1012), any integers.
class SnapAllDialog : public QDialog {
    Q_OBJECT
public:
    explicit SnapAllDialog(const SnapAllChoice& choice, QWidget* parent = nullptr);
    const SnapAllChoice& choice() const { return choice_; }
    void accept() override;

private:
    QLineEdit* columnsEdit_;
    QLineEdit* spacingEdit_;
    SnapAllChoice choice_;
};

// Modal over owner; false on cancel, the choice written back on OK.
bool runSaveOptionsDialog(QWidget* owner, SaveAllChoice& choice);
bool runSnapAllDialog(QWidget* owner, SnapAllChoice& choice);

}  // namespace sigil
