#pragma once
// The steps on the document's undo stack. Each holds exactly what it needs
// to go both ways (icons taken out of the library, the other set of an
// icon's devices, an old name), so undoing every step gives back the
// library as it was, byte for byte.

#include <QUndoCommand>
#include <memory>
#include <string>
#include <vector>

#include "model/IconEntry.h"

namespace sigil {

class LibraryDocument;

// Icons entering the library (Insert) or leaving it (Remove). Places are
// those of the library that holds the icons, ascending.
class IconsStep : public QUndoCommand {
public:
    enum class Kind { Insert, Remove };
    struct Slot {
        int index;
        std::unique_ptr<IconEntry> held;  // the icon while it is out of the library
    };
    IconsStep(LibraryDocument& document, Kind kind, std::vector<Slot> places, const QString& text,
              int selectionAfterRedo, int selectionAfterUndo);
    void redo() override;
    void undo() override;

private:
    void put();
    void take();

    LibraryDocument& document_;
    Kind kind_;
    std::vector<Slot> places_;
    int selectionAfterRedo_;
    int selectionAfterUndo_;
};

// An icon moved to another place, or two icons that trade places.
class MoveStep : public QUndoCommand {
public:
    MoveStep(LibraryDocument& document, int from, int to, bool swap, const QString& text);
    void redo() override;
    void undo() override;

private:
    LibraryDocument& document_;
    int from_;
    int to_;
    bool swap_;
};

class RenameStep : public QUndoCommand {
public:
    RenameStep(LibraryDocument& document, int index, std::string name, const QString& text);
    void redo() override { exchange(); }
    void undo() override { exchange(); }

private:
    void exchange();

    LibraryDocument& document_;
    int index_;
    std::string name_;  // the name the icon does not have now
};

// Icons whose devices were replaced: each holds the set of devices the icon
// does not have now, and trades it in both directions.
class DevicesStep : public QUndoCommand {
public:
    struct Change {
        int icon;
        std::vector<IconDevice> devices;
        int32_t current;
    };
    DevicesStep(LibraryDocument& document, std::vector<Change> changes, const QString& text);
    void redo() override { exchange(); }
    void undo() override { exchange(); }

private:
    void exchange();

    LibraryDocument& document_;
    std::vector<Change> changes_;
};

}  // namespace sigil
