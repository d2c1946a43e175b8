// Edit with editor: the selected icon goes to the user's icon editor and
// comes back as one step, also when the editor saves after it returned.

#include "document/ExternalEditor.h"
#include "document/LibraryDocument.h"
#include "document/UndoSteps.h"
#include "platform/StringTable.h"
#include "settings/GeneralSettings.h"

namespace sigil {

void LibraryDocument::editWithEditor()
{
    if (loading_ || !hasSelection() || !general_.useEditor || general_.editorPath.empty())
        return;
    if (!editor_) {
        editor_ = new ExternalEditor(QString(), this);
        connect(editor_, &ExternalEditor::editedLater, this,
                [this](const IconEntry* token, std::shared_ptr<IconEntry> edited) {
                    // The icon may have moved or gone since it was handed over.
                    for (int i = 0; i < library_.size(); ++i)
                        if (&library_.at(i) == token) {
                            takeEditedIcon(i, *edited);
                            return;
                        }
                });
    }
    const int index = selection_;
    if (host_)
        host_->setWindowsHidden(true);
    ExternalEditor::Result result = editor_->edit(library_.at(index), general_.editorPath);
    if (host_)
        host_->setWindowsHidden(false);
    if (result.outcome == ExternalEditor::Outcome::Changed && result.edited)
        takeEditedIcon(index, *result.edited);
}

void LibraryDocument::takeEditedIcon(int index, IconEntry& edited)
{
    if (loading_ || index < 0 || index >= library_.size())
        return;
    std::vector<DevicesStep::Change> changes;
    changes.push_back({index, std::move(edited.devices), edited.current});
    // The selection stays where it is: a late save must not move it to an
    // icon the user has left, where the next Delete would fall.
    push(new DevicesStep(*this, std::move(changes), loadString(str::StepEditWithEditor)));
}

}  // namespace sigil
