#include "platform/CommandKeys.h"

#include <QStringList>
#include <Qt>

#include "platform/CommandIds.h"

namespace sigil {

namespace {

constexpr CommandKey kKeys[] = {
    // key, Ctrl, Shift, Alt, command, view's key
    {Qt::Key_F4, true, false, false, cmd::CloseFile, false},
    {Qt::Key_O, true, false, false, cmd::OpenFile, true},
    {Qt::Key_F, true, false, false, cmd::OpenFolder, true},
    {Qt::Key_S, true, false, false, cmd::SaveLibrary, true},
    {Qt::Key_T, true, false, false, cmd::SaveAs, true},
    {Qt::Key_X, true, false, false, cmd::SaveAllAsIcons, true},
    {Qt::Key_I, true, false, false, cmd::SaveAsIcon, true},
    {Qt::Key_Delete, false, false, false, cmd::Delete, true},
    {Qt::Key_N, true, false, false, cmd::Add, true},
    {Qt::Key_L, true, false, false, cmd::Duplicate, true},
    {Qt::Key_F2, false, false, false, cmd::Rename, true},
    {Qt::Key_R, true, false, false, cmd::Rename, true},
    {Qt::Key_Space, false, false, false, cmd::EditWithEditor, true},
    {Qt::Key_Z, true, false, false, cmd::Undo, true},
    {Qt::Key_Y, true, false, false, cmd::Redo, true},
    {Qt::Key_Z, true, true, false, cmd::Redo, true},
    {Qt::Key_C, true, false, false, cmd::CopyDevice, true},
    {Qt::Key_V, true, false, false, cmd::Paste, true},
    {Qt::Key_W, true, false, false, cmd::SnapAll, true},
    {Qt::Key_Q, true, false, false, cmd::Snap, true},
    {Qt::Key_Return, false, false, false, cmd::ShowProperty, true},
    {Qt::Key_Enter, false, false, false, cmd::ShowProperty, true},
    {Qt::Key_E, true, false, false, cmd::OtherSize, true},
    {Qt::Key_F1, false, false, false, cmd::Help, true},
    {Qt::Key_Escape, false, false, false, cmd::Exit, true},
    {Qt::Key_F4, false, false, true, cmd::Exit, false},
    {Qt::Key_P, true, false, false, cmd::Settings, true},
    {Qt::Key_Delete, true, false, false, cmd::BatchDeleteDevices, true},
    {Qt::Key_M, true, false, false, cmd::DeleteSameIcons, true},
};

int findViewCommand(int key, bool ctrl, bool shift)
{
    for (const CommandKey& row : kKeys) {
        if (row.viewKey && row.key == key && row.ctrl == ctrl && row.shift == shift && !row.alt)
            return row.command;
    }
    return 0;
}

QString baseKeyName(int key)
{
    switch (key) {
    case Qt::Key_Delete:
        return QStringLiteral("Delete");
    case Qt::Key_Space:
        return QStringLiteral("Space");
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QStringLiteral("Enter");
    case Qt::Key_Escape:
        return QStringLiteral("Esc");
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    return QString(QChar(key));
}

}  // namespace

std::span<const CommandKey> commandKeys()
{
    return kKeys;
}

int viewCommandForKey(int key, bool ctrl, bool shift)
{
    const int exact = findViewCommand(key, ctrl, shift);
    return exact || !shift ? exact : findViewCommand(key, ctrl, false);
}

QString keyName(const CommandKey& key)
{
    QString name;
    if (key.ctrl)
        name += QStringLiteral("Ctrl+");
    if (key.shift)
        name += QStringLiteral("Shift+");
    if (key.alt)
        name += QStringLiteral("Alt+");
    return name + baseKeyName(key.key);
}

QString commandKeyNames(int command)
{
    QStringList names;
    for (const CommandKey& row : kKeys) {
        const QString name = keyName(row);
        if (row.command == command && !names.contains(name))
            names << name;
    }
    return names.join(QLatin1Char('/'));
}

}  // namespace sigil
