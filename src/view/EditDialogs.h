#pragma once
// The dialogs of the library editing commands: add a blank icon (111),
// rename an icon (110) and delete devices in bulk (108). They only collect
// the user's choice; the commands apply it to the document.

#include <QDialog>
#include <array>
#include <string>

#include "document/DocumentHost.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;

namespace sigil {

// Dialog 111: width and height edits and one radio button per bit count.
// OK is taken only for integers with 0 < width, height <= 256.
class AddIconDialog : public QDialog {
    Q_OBJECT
public:
    explicit AddIconDialog(const NewIconChoice& choice, QWidget* parent = nullptr);
    // The values taken by the last accepted OK.
    const NewIconChoice& choice() const { return choice_; }
    void accept() override;

private:
    QLineEdit* widthEdit_;
    QLineEdit* heightEdit_;
    QButtonGroup* colours_;  // button ids are the bit counts
    NewIconChoice choice_;
};

// Dialog 110: one edit with the icon's name, taken as it stands.
class RenameDialog : public QDialog {
    Q_OBJECT
public:
    explicit RenameDialog(const std::string& name, QWidget* parent = nullptr);
    // The edit's text as UTF-8; the name given when the text was not touched.
    std::string name() const;

private:
    QLineEdit* edit_;
    std::string initial_;
};

// Dialog 108: 13 boxes, colour classes 1040..1044 then sizes 1045..1052,
// all clear when the dialog opens.

class BatchDeleteDialog : public QDialog {
    Q_OBJECT
public:
    explicit BatchDeleteDialog(QWidget* parent = nullptr);
    // The boxes' states in control order.
    BatchDeleteBoxes boxes() const;

private:
    std::array<QCheckBox*, 13> boxes_{};
};

// Each shows its dialog modally over owner and answers false on cancel.
// On OK the add dialog writes the new choice back, the rename dialog the
// text exactly as entered (it may be empty), the batch delete dialog the
// ticked boxes.
bool runAddIconDialog(QWidget* owner, NewIconChoice& choice);
bool runRenameDialog(QWidget* owner, std::string& name);
bool runBatchDeleteDialog(QWidget* owner, BatchDeleteBoxes& boxes);
// The standard sizes an .ico holds as boxes, those in `sizes` ticked; on OK
// `sizes` becomes the ticked ones, smallest first.
bool runMakeSizesDialog(QWidget* owner, std::vector<int>& sizes);

}  // namespace sigil
