#include "document/LibraryDocument.h"

#include "document/LibraryNaming.h"
#include "document/LoadBridge.h"
#include "platform/StringTable.h"

namespace sigil {

namespace {
// Steps kept for undo; older ones are dropped.
constexpr int kUndoSteps = 100;
}  // namespace

LibraryDocument::LibraryDocument(IconLibrary& library, GeneralSettings& general, DisplaySettings& display,
                                 QObject* parent)
    : QObject(parent),
      library_(library),
      general_(general),
      display_(display),
      bridge_(new LoadBridge(control_, this))
{
    connect(bridge_, &LoadBridge::added, this, &LibraryDocument::onAdded);
    connect(bridge_, &LoadBridge::finished, this, &LibraryDocument::finishLoad);
    library_.setLoadObserver(bridge_);
    undo_.setUndoLimit(kUndoSteps);
    connect(&undo_, &QUndoStack::cleanChanged, this, &LibraryDocument::titleChanged);
    connect(&undo_, &QUndoStack::indexChanged, this, &LibraryDocument::commandStateChanged);
}

LibraryDocument::~LibraryDocument()
{
    stopLoader();
    library_.setLoadObserver(nullptr);
}

bool LibraryDocument::setSelection(int k)
{
    if (k < 0 || k >= library_.size())
        k = -1;
    selection_ = k;
    return k >= 0;
}

QString LibraryDocument::titleText() const
{
    return libraryTitle(libraryPath_, modified(), loading_);
}

void LibraryDocument::markModified()
{
    modified_ = true;
    emit titleChanged();
}

void LibraryDocument::resetHistory()
{
    modified_ = modified();
    undo_.clear();
}

void LibraryDocument::nameUntitled()
{
    if (libraryPath_.empty())
        libraryPath_ = loadString(str::Untitled).toStdString() + ".icl";
}

void LibraryDocument::push(QUndoCommand* step)
{
    undo_.push(step);
    emit titleChanged();
}

void LibraryDocument::putIcon(int index, std::unique_ptr<IconEntry> entry)
{
    library_.insertIcon(index, std::move(entry));
}

std::unique_ptr<IconEntry> LibraryDocument::takeIcon(int index)
{
    if (index < 0 || index >= library_.size())
        return nullptr;
    emit iconReleased(&library_.at(index));
    return library_.takeIcon(index);
}

void LibraryDocument::exchangeDevices(int icon, std::vector<IconDevice>& devices, int32_t& current)
{
    if (icon < 0 || icon >= library_.size())
        return;
    IconEntry& entry = library_.at(icon);
    emit iconReleased(&entry);
    std::swap(entry.devices, devices);
    std::swap(entry.current, current);
    library_.recountDevices();
}

void LibraryDocument::stepApplied(int selection)
{
    setSelection(selection);
    emit iconsChanged();
    emit selectionMoved();
    emit countChangedMessage();
    emit commandStateChanged();
}

void LibraryDocument::onAdded(int index)
{
    if (selection_ == -1)
        selection_ = 0;
    emit iconAdded(index);
    emit countChangedMessage();
}

DocumentHost::Answer LibraryDocument::ask(const QString& text, bool withCancel) const
{
    return host_ ? host_->ask(text, withCancel) : DocumentHost::Answer::No;
}

void LibraryDocument::warn(const QString& text) const
{
    if (host_)
        host_->warn(text);
}

}  // namespace sigil
