#pragma once
// The "other size" dialog (104): one edit with the display size, accepted
// only when it holds an integer from 16 to 256.

#include <QDialog>

class QLineEdit;

namespace sigil {

class OtherSizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit OtherSizeDialog(int size, QWidget* parent = nullptr);
    int size() const { return size_; }
    QLineEdit* edit() const { return edit_; }
    void accept() override;

private:
    QLineEdit* edit_;
    int size_;
};

}  // namespace sigil
