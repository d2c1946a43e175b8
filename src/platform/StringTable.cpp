#include "platform/StringTable.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

#include "platform/CommandIds.h"

namespace sigil {

namespace {

struct StringRow {
    int id;
    const char* text;  // UTF-8
};

// Sorted by number.
constexpr StringRow kStrings[] = {
    {str::DocumentTemplate, "Sigilscope\n\nSigilS\n\n\nSigilscope.Document\nSigilS Document"},
    {cmd::OpenFile, "ファイルを開く\nファイルを開く [Ctrl+O]"},
    {cmd::OpenFolder, "フォルダを開く\nフォルダを開く [Ctrl+F]"},
    {cmd::SaveLibrary, "ライブラリを保存\nライブラリを保存 [Ctrl+S]"},
    {cmd::SaveAs, "名前を付けて保存\n名前を付けて保存 [Ctrl+T]"},
    {cmd::SaveAllAsIcons, "アイコン形式で全て保存\nアイコン形式で全て保存 [Ctrl+X]"},
    {cmd::SnapAll, "全イメージをスナップ\n全イメージをスナップ [Ctrl+W]"},
    {cmd::Settings, "設定\n設定 [Ctrl+P]"},
    {cmd::CustomizeToolbar, "ツールバーのカスタマイズ\nツールバーのカスタマイズ"},
    {cmd::CloseFile, "ファイルを閉じる\nファイルを閉じる [Ctrl+F4]"},
    {cmd::EditWithEditor, "エディタで編集\nエディタで編集 [Space]"},
    {cmd::ShowProperty, "プロパティ表示\nプロパティ表示 [Enter]"},
    {cmd::CopyDevice, "表示デバイスをコピー\n表示デバイスをコピー [Ctrl+C]"},
    {cmd::Paste, "貼り付け\n貼り付け [Ctrl+V]"},
    {cmd::Add, "追加\n追加 [Ctrl+N]"},
    {cmd::Delete, "削除\n削除 [Delete]"},
    {cmd::Duplicate, "複製\n複製 [Ctrl+L]"},
    {cmd::Rename, "名前を変更\n名前を変更 [F2/Ctrl+R]"},
    {cmd::Snap, "スナップ\nスナップ [Ctrl+Q]"},
    {cmd::SaveAsIcon, "アイコン形式で保存\nアイコン形式で保存 [Ctrl+I]"},
    {cmd::BatchDeleteDevices, "デバイスの一括削除\nデバイスの一括削除 [Ctrl+Delete]"},
    {cmd::DeleteSameIcons, "同じアイコンを削除\n同じアイコンを削除 [Ctrl+M]"},
    {cmd::Size16, "16x16\n16x16"},
    {cmd::Size32, "32x32\n32x32"},
    {cmd::Size48, "48x48\n48x48"},
    {cmd::Size72, "72x72\n72x72"},
    {cmd::Size128, "128x128\n128x128"},
    {cmd::OtherSize, "その他のサイズ\nその他のサイズ [Ctrl+E]"},
    {cmd::Help, "ヘルプ\nヘルプ [F1]"},
    {cmd::About, "Sigilscopeについて\nSigilscopeについて"},
    {cmd::ShortcutList, "ショートカット一覧\nショートカット一覧"},
    {cmd::RecentMenu, "最近使ったファイル\n最近使ったファイル"},
    {cmd::Undo, "元に戻す\n元に戻す [Ctrl+Z]"},
    {cmd::Redo, "やり直し\nやり直し [Ctrl+Y]"},
    {cmd::Exit, "終了\n終了 [Alt+F4]"},
    {str::SizeOutOfRange, "16～256の範囲で入力してください"},
    {str::SaveFailed, "保存に失敗しました\r\nファイルへの書き込みに失敗もしくは\r\nアイコンの数が多すぎます"},
    {str::GifRefused, "GIFは特許問題のため読み込めません"},
    {str::BadIconSize, "アイコンのサイズが正しくありません。\r\n256×256 dotまで作成可能です。"},
    {str::AskSaveLibrary, "ライブラリが保存されていません。\r\n保存しますか？"},
    {str::AskCancelLoad, "読み込み中です。\r\nキャンセルしますか？"},
    {str::NoSameIcons, "同じアイコンはありませんでした"},
    {str::SameIconsDeleted, "%d個のアイコンを削除しました"},
    {str::SavePreparing, "保存する準備をしています.."},
    {str::SaveWritingHeader, "ヘッダを書き込んでいます.."},
    {str::SaveWriting, "保存中です.."},
    {str::SaveDone, "完了しました"},
    {str::IconCount, "%d個"},
    {str::SelectedIcon, "%dﾃﾞﾊﾞｲｽ : %s"},
    {str::DisplaySize, "x%d"},
    {str::ChooseOpenFolder, "開くフォルダを選択"},
    {str::ChooseSaveFolder, "保存先フォルダを選択"},
    {str::Untitled, "無題"},
    {str::Loading, "<読み込み中>"},
    {str::OpenFileFilter,
     "対応ファイル|*.icl;*.exe;*.dll;*.mun;*.cpl;*.scr;*.ocx;*.ico;*.cur;*.ani;*.icns;*.bmp;*.gif;*.jpg;*.jpeg;*.png|"
     "アイコンライブラリ(*.icl,*.exe,*.dll,*.mun,*.cpl,*.scr,*.ocx)|*.icl;*.exe;*.dll;*.mun;*.cpl;*.scr;*.ocx|"
     "アイコン(*.ico,*.cur,*.ani,*.icns)|*.ico;*.cur;*.ani;*.icns|"
     "画像(*.bmp,*.gif,*.jpg,*.jpeg,*.png)|*.bmp;*.gif;*.jpg;*.jpeg;*.png|すべて(*.*)|*.*||"},
    {str::SaveLibraryFilter, "アイコンライブラリ(*.icl)|*.icl|すべて(*.*)|*.*||"},
    {str::SaveIconFilter, "アイコン(*.ico)|*.ico|すべて(*.*)|*.*||"},
    {str::EditorFilter, "実行ファイル(*.exe)|*.exe|すべて(*.*)|*.*||"},
    {str::BitmapFilter, "ビットマップ(*.bmp)|*.bmp|すべて(*.*)|*.*||"},
    {str::BadFileName, "ファイル名が正しくありません"},
    {str::SupportPage, "-"},
    {str::HelpFile, "Sigilscope_help.txt"},
    {str::IconNotSaved, "アイコンを保存できませんでした\r\n%1\r\n%2"},
    {str::IconsNotSaved, "%1個のアイコンを保存できませんでした\r\n最初の失敗: %2"},
    {str::LibraryTooManyIcons, "アイコンが多すぎるため1つのアイコンライブラリに保存できません\r\n"
                               "%1個のアイコンのうち、保存できるのは先頭から%2個までです"},
    {str::LibraryTooMuchData, "イメージのデータが大きすぎるため1つのアイコンライブラリに保存できません"},
    {str::FileNotRead, "ファイルを読み込めませんでした\r\n%1\r\n%2"},
    {str::FilesNotRead, "%1個のファイルを読み込めませんでした\r\n最初のファイル: %2\r\n%3"},
    {str::FileIsEmpty, "空のファイルです"},
    {str::FileHasNoIcon, "読み取れるアイコンがありません"},
    {str::SearchingSameIcons, "同じアイコンを検索中です.."},
    {str::DeletingDevices, "デバイスを削除中です.."},
    {str::IconHasNoImage, "アイコンにイメージがありません"},
    {str::IconDoesNotFitIco, "アイコンがICO形式に収まりません"},
    {str::NotAnInteger, "整数を入力してください。"},
};

static_assert(std::is_sorted(std::begin(kStrings), std::end(kStrings),
                             [](const StringRow& a, const StringRow& b) { return a.id < b.id; }),
              "the string table is searched by halves");

const StringRow* findRow(int id)
{
    auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                               [](const StringRow& row, int key) { return row.id < key; });
    return (it != std::end(kStrings) && it->id == id) ? it : nullptr;
}

}  // namespace

QString loadString(int id)
{
    const StringRow* row = findRow(id);
    return row ? QString::fromUtf8(row->text) : QString();
}

QString commandText(int commandId)
{
    return loadString(commandId).section(QLatin1Char('\n'), 0, 0);
}

QString commandTooltip(int commandId)
{
    const QString s = loadString(commandId);
    const int cut = s.indexOf(QLatin1Char('\n'));
    return cut < 0 ? s : s.mid(cut + 1);
}

QString saveProgressText(int phase, int percent)
{
    switch (phase) {
    case 0:
        return loadString(str::SavePreparing);
    case 1:
        return loadString(str::SaveWritingHeader) + QStringLiteral("(%1%)").arg(percent);
    case 2:
        return loadString(str::SaveWriting) + QStringLiteral("(%1%)").arg(percent);
    case 3:
        return loadString(str::SaveDone);
    default:
        return QString();
    }
}

QString systemReasonText(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("ファイルまたはフォルダが見つかりません");
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスが拒否されました");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き領域が足りません");
    case EROFS:
        return QStringLiteral("読み取り専用のファイルシステムです");
    case ENOTDIR:
        return QStringLiteral("フォルダではないパスが含まれています");
    case EEXIST:
        return QStringLiteral("同じ名前のファイルが既にあります");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます");
    case EISDIR:
        return QStringLiteral("フォルダです");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

}  // namespace sigil
