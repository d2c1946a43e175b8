#include "document/LibraryDocument.h"

#include "document/LibraryNaming.h"
#include "document/LoadBridge.h"

namespace sigil {

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
    return libraryTitle(libraryPath_, modified_, loading_);
}

void LibraryDocument::markModified()
{
    modified_ = true;
    emit titleChanged();
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
