#include "ui/CommandTable.h"

#include <QStringList>
#include <Qt>

#include "platform/StringTable.h"
#include "ui/CommandIconTable.h"
#include "ui/CommandIds.h"

namespace sigil {

namespace {

using enum EnableRule;
constexpr Runner kView = Runner::View;
constexpr Runner kFrame = Runner::Frame;
constexpr CommandText kNone{};

constexpr KeyBinding key(int k)
{
    return {k};
}
constexpr KeyBinding ctrl(int k)
{
    return {k, true};
}
constexpr KeyBinding ctrlShift(int k)
{
    return {k, true, true};
}
constexpr KeyBinding alt(int k)
{
    return {k, false, false, true};
}
// A key the frame or the window system takes before the view.
constexpr KeyBinding frameKey(KeyBinding binding)
{
    binding.viewKey = false;
    return binding;
}
// A key that works but that menus and tooltips do not name.
constexpr KeyBinding unnamed(KeyBinding binding)
{
    binding.shown = false;
    return binding;
}

// The toolbar's commands first, in the order its dialog lists them; then
// the commands that only menus carry.
constexpr CommandRow kRows[] = {
    // clang-format off
    {cmd::Exit, {"Sigilscopeの終了(&0)", "E&xit"}, kNone, {"終了", "Exit"}, kNone, 202, 203, Always, kFrame, false, true,
     {unnamed(key(Qt::Key_Escape)), frameKey(alt(Qt::Key_F4))}},
    {cmd::CloseFile, {"ファイルを閉じる(&C)", "&Close File"}, kNone, {"ファイルを閉じる", "Close File"}, kNone, 204, 205,
     IdleWithIcons, kView, false, true, {frameKey(ctrl(Qt::Key_F4))}},
    {cmd::RecentMenu, kNone, kNone, {"最近使ったファイル", "Recent Files"}, kNone, 208, 209, Always, kFrame, false, true, {}},
    {cmd::OpenFile, {"ファイルを開く(&O)..", "&Open File…"}, kNone, {"ファイルを開く", "Open File"}, kNone, 214, 215, Idle,
     kView, false, true, {ctrl(Qt::Key_O)}},
    // The menu item has never named its key; the tooltip and the card do.
    {cmd::OpenFolder, {"フォルダを開く(&F)..", "Open &Folder…"}, kNone, {"フォルダを開く", "Open Folder"}, kNone, 216, 217,
     Idle, kView, false, false, {ctrl(Qt::Key_F)}},
    {cmd::Settings, {"設定(&P)..", "Se&ttings…"}, kNone, {"設定", "Settings"}, kNone, 218, 219, Idle, kView, false, true,
     {ctrl(Qt::Key_P)}},
    {cmd::SaveLibrary, {"ライブラリを保存(&S)", "&Save Library"}, kNone, {"ライブラリを保存", "Save Library"}, kNone, 220,
     221, IdleWithIcons, kView, false, true, {ctrl(Qt::Key_S)}},
    {cmd::SaveAs, {"名前を付けて保存(&A)..", "Save &As…"}, kNone, {"名前を付けて保存", "Save As"}, kNone, 222, 223,
     IdleWithIcons, kView, false, true, {ctrl(Qt::Key_T)}},
    {cmd::SaveAllAsIcons, {"アイコン形式で全て保存(&X)..", "Sa&ve All as Icons…"}, kNone,
     {"アイコン形式で全て保存", "Save All as Icons"}, kNone, 224, 225, IdleWithIcons, kView, false, true,
     {ctrl(Qt::Key_X)}},
    {cmd::SnapAll, {"全イメージをスナップ(&W)..", "Snap A&ll Images…"}, kNone, {"全イメージをスナップ", "Snap All Images"},
     kNone, 226, 227, IdleWithIcons, kView, false, true, {ctrl(Qt::Key_W)}},
    {cmd::EditWithEditor, {"エディタで編集(&E)", "&Edit with Editor"}, kNone, {"エディタで編集", "Edit with Editor"}, kNone,
     228, 229, EditorReady, kView, false, true, {key(Qt::Key_Space)}},
    {cmd::CopyDevice, {"表示デバイスをコピー(&C)", "&Copy Shown Image"}, kNone, {"表示デバイスをコピー", "Copy Shown Image"},
     kNone, 230, 231, Selected, kView, false, true, {ctrl(Qt::Key_C)}},
    {cmd::Paste, {"貼り付け(&V)", "&Paste"}, kNone, {"貼り付け", "Paste"}, kNone, 232, 233, ClipboardBitmap, kView, false,
     true, {ctrl(Qt::Key_V)}},
    {cmd::Add, {"追加(&N)..", "&Add Icon…"}, kNone, {"追加", "Add Icon"}, kNone, 234, 235, Idle, kView, false, true,
     {ctrl(Qt::Key_N)}},
    {cmd::Delete, {"削除(&D)", "&Delete"}, kNone, {"削除", "Delete"}, kNone, 236, 237, Selected, kView, false, true,
     {key(Qt::Key_Delete)}},
    {cmd::Duplicate, {"複製(&L)", "Dup&licate"}, kNone, {"複製", "Duplicate"}, kNone, 238, 239, Selected, kView, false,
     true, {ctrl(Qt::Key_L)}},
    {cmd::Rename, {"名前の変更(&M)..", "Rena&me…"}, {"名前の変更(&R)..", "&Rename…"}, {"名前を変更", "Rename"}, kNone, 240,
     241, Selected, kView, false, true, {key(Qt::Key_F2), ctrl(Qt::Key_R)}},
    {cmd::Snap, {"スナップ(&Q)", "S&nap"}, {"スナップ(&S)", "&Snap"}, {"スナップ", "Snap"}, kNone, 242, 243, Selected, kView,
     false, true, {ctrl(Qt::Key_Q)}},
    {cmd::SaveAsIcon, {"アイコン形式で保存(&I)", "Save as &Icon"}, kNone, {"アイコン形式で保存", "Save as Icon"}, kNone, 244,
     245, Selected, kView, false, true, {ctrl(Qt::Key_I)}},
    {cmd::BatchDeleteDevices, {"デバイスの一括削除(&B)..", "&Batch Delete Images…"}, kNone,
     {"デバイスの一括削除", "Batch Delete Images"}, kNone, 246, 247, IdleWithIcons, kView, false, true,
     {ctrl(Qt::Key_Delete)}},
    {cmd::DeleteSameIcons, {"同じアイコンを削除(&S)", "Delete Duplicate &Icons"}, kNone,
     {"同じアイコンを削除", "Delete Duplicate Icons"}, kNone, 248, 249, IdleWithIcons, kView, false, true,
     {ctrl(Qt::Key_M)}},
    // Shown pressed on the toolbar while the property window is visible.
    {cmd::ShowProperty, kNone, kNone, {"プロパティ表示", "Show Properties"}, kNone, 250, 251, Always, kView, true, true,
     {key(Qt::Key_Return), key(Qt::Key_Enter)}},
    // The one row whose hot icon has the lower number.
    {cmd::ShortcutList, {"ショートカット一覧(&S)", "&Shortcut List"}, kNone, {"ショートカット一覧", "Shortcut List"}, kNone,
     253, 252, Always, kFrame, true, true, {}},
    {cmd::Size16, {"16x16(&1)", "&16x16"}, kNone, {"16x16", "16x16"}, kNone, 254, 255, Idle, kView, true, true, {}},
    {cmd::Size32, {"32x32(&3)", "&32x32"}, kNone, {"32x32", "32x32"}, kNone, 256, 257, Idle, kView, true, true, {}},
    {cmd::Size48, {"48x48(&4)", "&48x48"}, kNone, {"48x48", "48x48"}, kNone, 258, 259, Idle, kView, true, true, {}},
    {cmd::Size72, {"72x72(&7)", "&72x72"}, kNone, {"72x72", "72x72"}, kNone, 260, 261, Idle, kView, true, true, {}},
    {cmd::Size128, {"128x128(&8)", "12&8x128"}, kNone, {"128x128", "128x128"}, kNone, 262, 263, Idle, kView, true, true,
     {}},
    // "&E" in the right-click menu belongs to edit with editor.
    {cmd::OtherSize, {"その他(&E)", "&Other Size"}, {"その他(&O)", "&Other Size"}, {"その他のサイズ", "Other Size"}, kNone,
     264, 265, Idle, kView, true, true, {ctrl(Qt::Key_E)}},
    {cmd::Help, {"ヘルプ(&H)..", "&Help…"}, kNone, {"ヘルプ", "Help"}, kNone, 266, 267, Always, kFrame, false, true,
     {key(Qt::Key_F1)}},
    {cmd::About, {"Sigilscopeについて(&A)..", "&About Sigilscope…"}, kNone, {"Sigilscopeについて", "About Sigilscope"},
     kNone, 268, 269, Always, kFrame, false, true, {}},

    {cmd::Undo, {"元に戻す(&U)", "&Undo"}, kNone, {"元に戻す", "Undo"}, kNone, 0, 0, CanUndo, kView, false, true,
     {ctrl(Qt::Key_Z)}},
    {cmd::Redo, {"やり直し(&R)", "&Redo"}, kNone, {"やり直し", "Redo"}, kNone, 0, 0, CanRedo, kView, false, true,
     {ctrl(Qt::Key_Y), unnamed(ctrlShift(Qt::Key_Z))}},
    {cmd::MakeSizes, {"標準サイズを作成(&Z)..", "Ma&ke Sizes…"}, kNone, {"標準サイズを作成", "Make Sizes"},
     {"最大のイメージから標準サイズを作成", "Make standard sizes from the largest image"}, 0, 0, IdleSelected, kView,
     false, true, {}},
    {cmd::CustomizeToolbar, {"ツールバーのカスタマイズ(&B)..", "Customize Tool&bar…"}, kNone,
     {"ツールバーのカスタマイズ", "Customize Toolbar"}, kNone, 0, 0, Always, kFrame, false, true, {}},
    // clang-format on
};

QString pick(const CommandText& text)
{
    const char* chosen = interfaceLanguage() == Language::English ? text.en : text.ja;
    return chosen ? QString::fromUtf8(chosen) : QString();
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

// The names of the command's keys (only the shown ones, or all), each once.
QString keyNames(int id, bool shownOnly)
{
    QStringList names;
    if (const CommandRow* row = commandRow(id)) {
        for (const KeyBinding& binding : row->keys) {
            const QString name = keyName(binding);
            if (binding.key && (binding.shown || !shownOnly) && !names.contains(name))
                names << name;
        }
    }
    return names.join(QLatin1Char('/'));
}

QString withKeys(const QString& text, int id, const QString& before, const QString& after)
{
    const QString keys = commandKeyText(id);
    return keys.isEmpty() ? text : text + before + keys + after;
}

int findViewCommand(int key, bool ctrl, bool shift)
{
    for (const CommandRow& row : kRows) {
        for (const KeyBinding& binding : row.keys) {
            if (binding.key == key && binding.viewKey && binding.ctrl == ctrl && binding.shift == shift && !binding.alt)
                return row.id;
        }
    }
    return 0;
}

}  // namespace

std::span<const CommandRow> commandRows()
{
    return kRows;
}

const CommandRow* commandRow(int id)
{
    for (const CommandRow& row : kRows) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}

QString commandText(int id)
{
    if (const CommandRow* row = commandRow(id))
        return pick(row->text);
    return loadString(id).section(QLatin1Char('\n'), 0, 0);
}

QString commandTooltip(int id)
{
    if (const CommandRow* row = commandRow(id))
        return withKeys(pick(row->tooltip.ja ? row->tooltip : row->text), id, QStringLiteral(" ["),
                        QStringLiteral("]"));
    const QString s = loadString(id);
    const int cut = s.indexOf(QLatin1Char('\n'));
    return cut < 0 ? s : s.mid(cut + 1);
}

QString commandMenuText(int id)
{
    const CommandRow* row = commandRow(id);
    if (!row || !row->menu.ja)
        return QString();
    const QString text = pick(row->menu);
    return row->keysInMenu ? withKeys(text, id, QStringLiteral("\t"), QString()) : text;
}

QString commandContextText(int id)
{
    const CommandRow* row = commandRow(id);
    if (!row || !row->context.ja)
        return commandMenuText(id);
    return withKeys(pick(row->context), id, QStringLiteral("\t"), QString());
}

std::vector<CommandKey> commandKeys()
{
    std::vector<CommandKey> keys;
    for (const CommandRow& row : kRows) {
        for (const KeyBinding& binding : row.keys) {
            if (binding.key)
                keys.push_back({binding, row.id});
        }
    }
    return keys;
}

int viewCommandForKey(int key, bool ctrl, bool shift)
{
    const int exact = findViewCommand(key, ctrl, shift);
    return exact || !shift ? exact : findViewCommand(key, ctrl, false);
}

QString keyName(const KeyBinding& key)
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

QString commandKeyText(int id)
{
    return keyNames(id, true);
}

QString commandKeyNames(int id)
{
    return keyNames(id, false);
}

std::span<const CommandIcon> CommandIconTable::rows()
{
    static const std::vector<CommandIcon> icons = [] {
        std::vector<CommandIcon> rows;
        for (const CommandRow& row : kRows) {
            if (row.icon)
                rows.push_back({row.id, row.icon, row.hotIcon});
        }
        return rows;
    }();
    return icons;
}

const CommandIcon* CommandIconTable::find(int command)
{
    for (const CommandIcon& row : rows()) {
        if (row.command == command)
            return &row;
    }
    return nullptr;
}

}  // namespace sigil
