#pragma once
// The toolbar dialog (113, "Customize toolbar"): the toolbar's buttons in order
// (1070), the commands not on it (1071), add, remove, up, down, initialise
// and the icon size (1010). OK writes the choice into the settings record;
// the file is written at exit.

#include <QDialog>

#include "shell/ToolbarItems.h"

class QComboBox;
class QListWidget;
class QPushButton;

namespace sigil {

struct GeneralSettings;
class IconResources;

class ToolbarDialog : public QDialog {
    Q_OBJECT
public:
    ToolbarDialog(GeneralSettings& general, const IconResources& icons, QWidget* parent = nullptr);

    const ToolbarItemsEditor& editor() const { return editor_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* makeList(int id);
    // Shows the editor's lists and selections and enables the buttons.
    void showLists();
    void showStates();
    void onAdd();
    void onRemove();
    void onUp();
    void onDown();
    void onInitialise();

    GeneralSettings& general_;
    const IconResources& icons_;
    ToolbarItemsEditor editor_;
    QListWidget* entries_ = nullptr;
    QListWidget* available_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QComboBox* size_ = nullptr;
};

}  // namespace sigil
