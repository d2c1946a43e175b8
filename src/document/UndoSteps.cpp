#include "document/UndoSteps.h"

#include "document/LibraryDocument.h"

namespace sigil {

IconsStep::IconsStep(LibraryDocument& document, Kind kind, std::vector<Slot> places, const QString& text,
                     int selectionAfterRedo, int selectionAfterUndo)
    : QUndoCommand(text),
      document_(document),
      kind_(kind),
      places_(std::move(places)),
      selectionAfterRedo_(selectionAfterRedo),
      selectionAfterUndo_(selectionAfterUndo)
{}

void IconsStep::redo()
{
    if (kind_ == Kind::Insert)
        put();
    else
        take();
    document_.stepApplied(selectionAfterRedo_);
}

void IconsStep::undo()
{
    if (kind_ == Kind::Insert)
        take();
    else
        put();
    document_.stepApplied(selectionAfterUndo_);
}

// Ascending, so every icon lands on the place it had.
void IconsStep::put()
{
    for (Slot& slot : places_)
        document_.putIcon(slot.index, std::move(slot.held));
}

// Descending, so the places still ahead do not shift.
void IconsStep::take()
{
    for (auto it = places_.rbegin(); it != places_.rend(); ++it)
        it->held = document_.takeIcon(it->index);
}

MoveStep::MoveStep(LibraryDocument& document, int from, int to, bool swap, const QString& text)
    : QUndoCommand(text),
      document_(document),
      from_(from),
      to_(to),
      swap_(swap)
{}

void MoveStep::redo()
{
    IconLibrary& library = document_.library();
    if (swap_)
        library.swapIcons(from_, to_);
    else
        library.moveIcon(from_, to_);
    document_.stepApplied(to_);
}

void MoveStep::undo()
{
    IconLibrary& library = document_.library();
    if (swap_)
        library.swapIcons(from_, to_);
    else
        library.moveIcon(to_, from_);
    document_.stepApplied(from_);
}

RenameStep::RenameStep(LibraryDocument& document, int index, std::string name, const QString& text)
    : QUndoCommand(text),
      document_(document),
      index_(index),
      name_(std::move(name))
{}

void RenameStep::exchange()
{
    std::swap(document_.library().at(index_).name, name_);
    document_.stepApplied(index_);
}

DevicesStep::DevicesStep(LibraryDocument& document, std::vector<Change> changes, const QString& text)
    : QUndoCommand(text),
      document_(document),
      changes_(std::move(changes))
{}

void DevicesStep::exchange()
{
    for (Change& change : changes_)
        document_.exchangeDevices(change.icon, change.devices, change.current);
    document_.stepApplied(document_.selection());
}

}  // namespace sigil
