#include "platform/StringTable.h"

#include <QLocale>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <iterator>

namespace sigil {

namespace {

struct StringRow {
    int id;
    const char* ja;  // UTF-8
    const char* en;  // UTF-8
};

// Sorted by number.
constexpr StringRow kStrings[] = {
    {str::DocumentTemplate, "Sigilscope\n\nSigilS\n\n\nSigilscope.Document\nSigilS Document",
     "Sigilscope\n\nSigilS\n\n\nSigilscope.Document\nSigilS Document"},

    // The main frame's menus.
    {str::MenuFile, "ファイル(&F)", "&File"},
    {str::MenuEdit, "編集(&E)", "&Edit"},
    {str::MenuView, "表示(&V)", "&View"},
    {str::MenuPalette, "パレット(&P)", "&Window"},
    {str::MenuHelp, "ヘルプ(&H)", "&Help"},
    {str::MenuRecent, "最近使ったファイル(&R)", "&Recent Files"},
    {str::MenuUndoStep, "元に戻す(&U): %1", "&Undo %1"},
    {str::MenuRedoStep, "やり直し(&R): %1", "&Redo %1"},
    {str::MenuToolbar, "ツールバー(&T)", "&Toolbar"},
    // "&S" belongs to the shortcut card's item of the same menu.
    {str::MenuStatusBar, "ステータスバー(&U)", "Status &Bar"},
    {str::ToolbarTitle, "ツールバー", "Toolbar"},
    {str::ToolbarCustomize, "ツールバーのカスタマイズ..", "Customize Toolbar…"},
    {str::RecentNoData, "no data", "No recent files"},

    // The settings dialog.
    {str::SettingsTitle, "設定", "Settings"},
    {str::SettingsDisplayGroup, "表示", "Display"},
    {str::SettingsShowGrid, "グリッドを表示", "Show grid"},
    {str::SettingsVertical, "縦(&V)", "&Vertical"},
    {str::SettingsHorizontal, "横(H)", "&Horizontal"},
    {str::SettingsXpDisplay, "XPアイコンを擬似表示", "Simulate XP icon display"},
    {str::SettingsBackColor, "背景色", "Background"},
    {str::SettingsSelectColor, "選択色", "Selection"},
    {str::SettingsMacGroup, "Mac形式のインポート", "Mac icon import"},
    {str::SettingsMacColours, "色数", "Colors"},
    {str::SettingsMacMono, "モノクロ", "Mono"},
    {str::SettingsMac16Colours, "16色", "16 colors"},
    {str::SettingsMac256Colours, "256色", "256 colors"},
    {str::SettingsMacTrueColour, "24/32bit", "24/32-bit"},
    {str::SettingsMacSizes, "大きさ", "Sizes"},
    {str::SettingsMacFileTypes, "ファイルタイプコード", "File type codes"},
    {str::SettingsMacFileTypesNote, "↑セミコロン（;）で区切る", "↑ Separated by semicolons (;)"},
    {str::SettingsBitmapGroup, "ビットマップのインポート", "Bitmap import"},
    {str::SettingsTransparency, "透過処理", "Transparency"},
    {str::SettingsTransparentChosen, "指定色を透過", "Chosen color is transparent"},
    {str::SettingsTransparentTopLeft, "左上の色を透過", "Top-left color is transparent"},
    {str::SettingsTransparentTopRight, "右上の色を透過", "Top-right color is transparent"},
    {str::SettingsTransparentBottomLeft, "左下の色を透過", "Bottom-left color is transparent"},
    {str::SettingsTransparentBottomRight, "右下の色を透過", "Bottom-right color is transparent"},
    {str::SettingsUseEditor, "編集用外部エディタ", "Use an external editor"},
    {str::SettingsLanguage, "言語", "Language"},
    // Each language by its own name; the Japanese one with its English name
    // too for those who cannot read it.
    {str::SettingsLanguageJapanese, "日本語", "日本語 (Japanese)"},
    {str::SettingsLanguageEnglish, "English", "English"},
    {str::SettingsLanguageAuto, "自動 (システムの言語)", "Automatic (system language)"},
    {str::SettingsLanguageNote, "次回の起動から有効です", "Takes effect at the next start"},

    // The toolbar dialog.
    {str::ToolbarDialogTitle, "ツールバー設定", "Customize Toolbar"},
    {str::ToolbarAddButton, "<< 追加", "<< Add"},
    {str::ToolbarRemoveButton, "削除 >>", "Remove >>"},
    {str::ToolbarUpButton, "一つ上に", "Move Up"},
    {str::ToolbarDownButton, "一つ下に", "Move Down"},
    {str::ToolbarResetButton, "初期化", "Reset"},
    {str::ToolbarSmall, "16x16 小さい", "16x16 Small"},
    {str::ToolbarNormal, "24x24 標準", "24x24 Normal"},
    {str::ToolbarLarge, "32x32 大きい", "32x32 Large"},
    {str::ToolbarItemsLabel, "ツールバー", "Toolbar"},
    {str::ToolbarCommandsLabel, "コマンド", "Commands"},
    {str::ToolbarSizeLabel, "サイズ", "Size"},
    {str::ToolbarEndMarker, "(末尾に追加)", "(Add at end)"},
    {str::ToolbarSeparatorEntry, "(空き)", "(Separator)"},

    // The shortcut card.
    {str::CardCursorHeading, "カーソル移動", "Selection"},
    {str::CardMoveSelection, "選択を移動", "Move the selection"},
    {str::CardFirstIcon, "先頭のアイコン", "First icon"},
    {str::CardLastIcon, "最後のアイコン", "Last icon"},
    {str::CardPreviousPage, "前のページ", "Previous page"},
    {str::CardNextPage, "次のページ", "Next page"},
    {str::CardArrangeHeading, "並べ替え", "Arranging"},
    {str::CardMoveIcon, "アイコンを移動", "Move the icon"},
    {str::CardDragKey, "ドラッグ", "Drag"},
    {str::CardCtrlDragKey, "Ctrl+ドラッグ", "Ctrl+Drag"},
    {str::CardShiftDragKey, "Shift+ドラッグ", "Shift+Drag"},
    {str::CardDuplicateIcon, "アイコンを複製", "Duplicate the icon"},
    {str::CardSwapIcon, "アイコンを入れ替え", "Swap two icons"},
    {str::CardSizeHeading, "表示サイズ", "Display size"},
    {str::CardStandardSizes, "標準サイズを切り替え", "Next standard size"},
    {str::CardOnePixel, "1ドットずつ変更", "One pixel at a time"},
    {str::CardCtrlWheelKey, "Ctrl+ホイール", "Ctrl+Wheel"},
    {str::CardFileHeading, "ファイル操作", "Files"},
    {str::CardEditHeading, "編集", "Editing"},
    {str::CardClipboardHeading, "クリップボード", "Clipboard"},
    {str::CardPropertyHeading, "プロパティウィンドウ", "Properties window"},
    {str::CardToProperty, "プロパティへ移動", "Go to the properties"},
    {str::CardZoom, "拡大/縮小", "Zoom in/out"},
    {str::CardOtherHeading, "その他", "Other"},

    // The property window.
    {str::PropertyTitle, "プロパティ", "Properties"},
    {str::PropertyDuplicateDevice, "重複するデバイスが存在します。\r\n追加できません。",
     "The icon already has an image of this size and color depth.\r\nIt cannot be added."},
    {str::PropertyAddStep, "デバイスの追加", "Add Image"},
    {str::PropertyDeleteStep, "デバイスの削除", "Delete Image"},
    {str::PropertyOpenBitmapStep, "ビットマップをオープン", "Open Picture"},
    {str::PropertyPasteStep, "デバイスを貼り付け", "Paste Image"},
    {str::PropertyAddTip, "デバイスの追加 [Ctrl+N]", "Add Image [Ctrl+N]"},
    {str::PropertyDeleteTip, "デバイスの削除 [Delete]", "Delete Image [Delete]"},
    {str::PropertyOpenBitmapTip, "ビットマップをオープン [Ctrl+O]", "Open Picture [Ctrl+O]"},
    {str::PropertyCopyTip, "表示デバイスをコピー [Ctrl+C]", "Copy Shown Image [Ctrl+C]"},
    {str::PropertyPasteTip, "デバイスを貼り付け [Ctrl+V]", "Paste Image [Ctrl+V]"},
    {str::PropertyZoomTip, "拡大/縮小 [Ctrl++]", "Zoom In/Out [Ctrl++]"},
    {str::PropertyNormalViewTip, "通常表示 [Ctrl+F]", "Normal View [Ctrl+F]"},
    {str::PropertyMaskOnlyTip, "マスクのみ表示 [Ctrl+M]", "Mask Only [Ctrl+M]"},
    {str::PropertyImageOnlyTip, "画像のみ表示 [Ctrl+B]", "Image Only [Ctrl+B]"},
    {str::PictureFilter,
     "画像(*.bmp,*.png,*.jpg,*.jpeg)|*.bmp;*.png;*.jpg;*.jpeg|PNG(*.png)|*.png|JPEG(*.jpg,*.jpeg)|*.jpg;*.jpeg|",
     "Pictures (*.bmp,*.png,*.jpg,*.jpeg)|*.bmp;*.png;*.jpg;*.jpeg|"
     "PNG (*.png)|*.png|JPEG (*.jpg,*.jpeg)|*.jpg;*.jpeg|"},
    {str::ColourClassMono, "ﾓﾉｸﾛ", "Mono"},
    {str::ColourClass16, "16色", "16 colors"},
    {str::ColourClass256, "256色", "256 colors"},
    {str::ColourClassHigh, "HighColor", "High Color"},
    {str::ColourClassTrue, "TrueColor", "True Color"},
    {str::ColourClassXp, "XP", "XP"},
    {str::ColourClassUnknown, "不明", "Unknown"},

    // The add, rename and batch delete dialogs.
    {str::AddTitle, "追加", "Add Icon"},
    {str::AddSizeGroup, "サイズ", "Size"},
    {str::DotUnit, "dot", "pixels"},
    {str::AddColoursGroup, "色数", "Colors"},
    {str::AddMono, "モノクロ", "Monochrome"},
    {str::Add16Colours, "16色", "16 colors"},
    {str::Add256Colours, "256色", "256 colors"},
    {str::AddTrueColour, "TrueColor", "True Color"},
    {str::AddXp, "XPアイコン(32bit)", "XP icon (32-bit)"},
    {str::RenameTitle, "名前の変更", "Rename"},
    {str::BatchTitle, "デバイスの一括削除", "Batch Delete Images"},
    {str::BatchByColour, " 色で削除(&C) ", "Delete by &color"},
    {str::BatchBySize, " 大きさで削除(&S) ", "Delete by &size"},
    {str::BatchRun, "実行", "Delete"},
    {str::BatchMono, "モノクロイメージを削除", "Monochrome images"},
    {str::Batch16Colours, "16色イメージを削除", "16-color images"},
    {str::Batch256Colours, "256色イメージを削除", "256-color images"},
    {str::BatchTrueColour, "TrueColorイメージを削除", "True Color images"},
    {str::BatchXp, "XPイメージを削除", "XP images"},
    {str::BatchNonSquare, "規定外を削除", "Non-standard sizes"},
    {str::Batch16, "16x16を削除", "16x16"},
    {str::Batch24, "24x24を削除", "24x24"},
    {str::Batch32, "32x32を削除", "32x32"},
    {str::Batch48, "48x48を削除", "48x48"},
    {str::Batch64, "64x64を削除", "64x64"},
    {str::Batch72, "72x72を削除", "72x72"},
    {str::Batch128, "128x128を削除", "128x128"},
    {str::MakeSizesTitle, "標準サイズを作成", "Make Sizes"},
    {str::MakeSizesPrompt, "最大のイメージから作るサイズ:", "Sizes to make from the largest image:"},

    // The save options, snap all and other size dialogs.
    {str::SaveOptionsTitle, "保存オプション", "Save Options"},
    {str::SaveFileNameGroup, " ファイル名 ", "File names"},
    {str::SaveByName, "リソース名を使用する", "Use the resource names"},
    {str::SaveNumbered, "自動命名", "Number automatically"},
    {str::SavePrefix, "先頭につける文字", "Prefix"},
    {str::SaveDigits, "0詰めを行う桁数", "Pad with zeros to"},
    {str::SaveDigitsUnit, "桁", "digits"},
    {str::SnapAllTitle, "全イメージをスナップ", "Snap All Images"},
    {str::SnapColumns, "列数", "Columns"},
    {str::SnapColumnsUnit, "個ずつ", "icons per row"},
    {str::SnapSpacing, "間隔", "Spacing"},
    {str::SnapSpacingUnit, "pixel", "pixels"},
    {str::SnapColumnsNote, "※0の場合、表示している列数", "0 columns: as many as the window shows"},
    {str::OtherSizeTitle, "その他のアイコンサイズ", "Other Size"},
    {str::OtherSizePrompt, "アイコンの大きさを指定", "Show the icons at this size (16 to 256):"},

    // The folder chooser, message boxes and dialog buttons.
    {str::FolderAddButton, "登録", "Add"},
    {str::FolderUpdateButton, "更新", "Update"},
    {str::FolderDeleteButton, "削除", "Remove"},
    {str::FolderBadName, "無効なファイル名です。確認してください", "The folder name is not valid. Please check it."},
    {str::FolderNotCreated, "新規フォルダの生成に失敗しました", "The new folder could not be created."},
    {str::MessageYes, "はい(&Y)", "&Yes"},
    {str::MessageNo, "いいえ(&N)", "&No"},
    {str::MessageCancel, "キャンセル", "Cancel"},
    {str::ButtonOk, "OK", "OK"},
    {str::ButtonCancel, "ｷｬﾝｾﾙ", "Cancel"},

    // Undo step names.
    {str::StepAdd, "追加", "Add Icon"},
    {str::StepDelete, "削除", "Delete"},
    {str::StepDuplicate, "複製", "Duplicate"},
    {str::StepRename, "名前の変更", "Rename"},
    {str::StepDeleteSameIcons, "同じアイコンを削除", "Delete Duplicate Icons"},
    {str::StepBatchDelete, "デバイスの一括削除", "Batch Delete Images"},
    {str::StepMove, "移動", "Move"},
    {str::StepSwap, "入れ替え", "Swap"},
    {str::StepCopy, "コピー", "Copy"},
    {str::StepPaste, "貼り付け", "Paste"},
    {str::StepEditWithEditor, "エディタで編集", "Edit with Editor"},
    {str::StepMakeSizes, "標準サイズを作成", "Make Sizes"},

    // The about box and the status bar.
    {str::AboutTitle, "Sigilscopeについて", "About Sigilscope"},
    {str::AboutSupport, "サポートページ", "Support Page"},
    {str::AboutClose, "閉じる", "Close"},
    {str::AboutVersion, "version %1", "Version %1"},
    {str::ProgressPercent, "%1(%2%)", "%1 (%2%)"},

    // Why a file operation failed.
    {str::ReasonNotFound, "ファイルまたはフォルダが見つかりません", "The file or folder does not exist"},
    {str::ReasonAccessDenied, "アクセスが拒否されました", "Access was denied"},
    {str::ReasonDiskFull, "ディスクの空き領域が足りません", "There is not enough free disk space"},
    {str::ReasonReadOnly, "読み取り専用のファイルシステムです", "The file system is read-only"},
    {str::ReasonNotAFolder, "フォルダではないパスが含まれています", "A part of the path is not a folder"},
    {str::ReasonExists, "同じ名前のファイルが既にあります", "A file of the same name already exists"},
    {str::ReasonTooLarge, "ファイルが大きすぎます", "The file is too large"},
    {str::ReasonNameTooLong, "ファイル名が長すぎます", "The file name is too long"},
    {str::ReasonIsAFolder, "フォルダです", "It is a folder"},

    {str::SizeOutOfRange, "16～256の範囲で入力してください", "Enter a size from 16 to 256."},
    {str::SaveFailed, "保存に失敗しました\r\nファイルへの書き込みに失敗もしくは\r\nアイコンの数が多すぎます",
     "The library could not be saved.\r\nWriting the file failed, or\r\nthere are too many icons."},
    {str::GifRefused, "GIFは特許問題のため読み込めません", "GIF pictures cannot be read (a patent issue)."},
    {str::BadIconSize, "アイコンのサイズが正しくありません。\r\n256×256 dotまで作成可能です。",
     "The icon size is not valid.\r\nIcons can be up to 256×256 pixels."},
    {str::AskSaveLibrary, "ライブラリが保存されていません。\r\n保存しますか？",
     "The library has not been saved.\r\nDo you want to save it?"},
    {str::AskCancelLoad, "読み込み中です。\r\nキャンセルしますか？", "Files are still being read.\r\nCancel reading?"},
    {str::NoSameIcons, "同じアイコンはありませんでした", "No duplicate icons were found."},
    {str::SameIconsDeleted, "%d個のアイコンを削除しました", "Duplicate icons deleted: %d"},
    {str::SavePreparing, "保存する準備をしています..", "Preparing to save…"},
    {str::SaveWritingHeader, "ヘッダを書き込んでいます..", "Writing the header…"},
    {str::SaveWriting, "保存中です..", "Saving…"},
    {str::SaveDone, "完了しました", "Done"},
    {str::IconCount, "%d個", "Icons: %d"},
    {str::SelectedIcon, "%dﾃﾞﾊﾞｲｽ : %s", "%s (images: %d)"},
    {str::DisplaySize, "x%d", "x%d"},
    {str::ChooseOpenFolder, "開くフォルダを選択", "Choose a Folder to Open"},
    {str::ChooseSaveFolder, "保存先フォルダを選択", "Choose a Folder to Save In"},
    {str::Untitled, "無題", "Untitled"},
    // The title reads "Sigilscope - NAME<loading>" with no blank in Japanese.
    {str::Loading, "<読み込み中>", " (loading)"},
    {str::OpenFileFilter,
     "対応ファイル|*.icl;*.exe;*.dll;*.mun;*.cpl;*.scr;*.ocx;*.ico;*.cur;*.ani;*.icns;*.bmp;*.gif;*.jpg;*.jpeg;*.png;"
     "*.svg;*.svgz|"
     "アイコンライブラリ(*.icl,*.exe,*.dll,*.mun,*.cpl,*.scr,*.ocx)|*.icl;*.exe;*.dll;*.mun;*.cpl;*.scr;*.ocx|"
     "アイコン(*.ico,*.cur,*.ani,*.icns)|*.ico;*.cur;*.ani;*.icns|"
     "画像(*.bmp,*.gif,*.jpg,*.jpeg,*.png)|*.bmp;*.gif;*.jpg;*.jpeg;*.png|SVG(*.svg,*.svgz)|*.svg;*.svgz|"
     "すべて(*.*)|*.*||",
     "All Supported Files|*.icl;*.exe;*.dll;*.mun;*.cpl;*.scr;*.ocx;*.ico;*.cur;*.ani;*.icns;*.bmp;*.gif;*.jpg;*.jpeg;"
     "*.png;*.svg;*.svgz|"
     "Icon Libraries (*.icl,*.exe,*.dll,*.mun,*.cpl,*.scr,*.ocx)|*.icl;*.exe;*.dll;*.mun;*.cpl;*.scr;*.ocx|"
     "Icons (*.ico,*.cur,*.ani,*.icns)|*.ico;*.cur;*.ani;*.icns|"
     "Pictures (*.bmp,*.gif,*.jpg,*.jpeg,*.png)|*.bmp;*.gif;*.jpg;*.jpeg;*.png|SVG Images (*.svg,*.svgz)|*.svg;*.svgz|"
     "All Files (*.*)|*.*||"},
    {str::SaveLibraryFilter, "アイコンライブラリ(*.icl)|*.icl|すべて(*.*)|*.*||",
     "Icon Library (*.icl)|*.icl|All Files (*.*)|*.*||"},
    {str::SaveIconFilter, "アイコン(*.ico)|*.ico|Macアイコン(*.icns)|*.icns|すべて(*.*)|*.*||",
     "Icon (*.ico)|*.ico|Mac Icon (*.icns)|*.icns|All Files (*.*)|*.*||"},
    {str::EditorFilter, "実行ファイル(*.exe)|*.exe|すべて(*.*)|*.*||", "Programs (*.exe)|*.exe|All Files (*.*)|*.*||"},
    {str::BitmapFilter, "ビットマップ(*.bmp)|*.bmp|すべて(*.*)|*.*||", "Bitmaps (*.bmp)|*.bmp|All Files (*.*)|*.*||"},
    {str::BadFileName, "ファイル名が正しくありません", "The file name is not valid."},
    {str::SupportPage, "-", "-"},
    {str::HelpFile, "Sigilscope_help.txt", "Sigilscope_help_en.txt"},
    {str::IconNotSaved, "アイコンを保存できませんでした\r\n%1\r\n%2", "The icon could not be saved.\r\n%1\r\n%2"},
    {str::IconsNotSaved, "%1個のアイコンを保存できませんでした\r\n最初の失敗: %2",
     "Icons that could not be saved: %1\r\nThe first failure: %2"},
    {str::LibraryTooManyIcons,
     "アイコンが多すぎるため1つのアイコンライブラリに保存できません\r\n"
     "%1個のアイコンのうち、保存できるのは先頭から%2個までです",
     "There are too many icons to save in one icon library.\r\n"
     "Of the %1 icons, only the first %2 can be saved."},
    {str::LibraryTooMuchData, "イメージのデータが大きすぎるため1つのアイコンライブラリに保存できません",
     "The images hold too much data to save in one icon library."},
    {str::FileNotRead, "ファイルを読み込めませんでした\r\n%1\r\n%2", "The file could not be read.\r\n%1\r\n%2"},
    {str::FilesNotRead, "%1個のファイルを読み込めませんでした\r\n最初のファイル: %2\r\n%3",
     "Files that could not be read: %1\r\nThe first file: %2\r\n%3"},
    {str::FileIsEmpty, "空のファイルです", "The file is empty"},
    {str::FileHasNoIcon, "読み取れるアイコンがありません", "The file holds no icon that can be read"},
    {str::SearchingSameIcons, "同じアイコンを検索中です..", "Searching for duplicate icons…"},
    {str::DeletingDevices, "デバイスを削除中です..", "Deleting images…"},
    {str::IconHasNoImage, "アイコンにイメージがありません", "The icon has no image"},
    {str::IconDoesNotFitIco, "アイコンがICO形式に収まりません", "The icon does not fit in the ICO format"},
    {str::IconHasNoIcnsSize, "ICNS形式に収まるサイズ(16～1024の正方形)のイメージがありません",
     "The icon has no square image of a size the ICNS format holds (16 to 1024)"},
    {str::NotAnInteger, "整数を入力してください。", "Please enter an integer."},
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

std::atomic<Language> currentLanguage{Language::Japanese};

}  // namespace

void setInterfaceLanguage(Language language)
{
    currentLanguage = language;
}

Language interfaceLanguage()
{
    return currentLanguage;
}

Language languageFromSetting(std::string_view value, bool systemIsJapanese)
{
    const QString v = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())).trimmed().toLower();
    if (v == QLatin1String("en"))
        return Language::English;
    if (v == QLatin1String("auto"))
        return systemIsJapanese ? Language::Japanese : Language::English;
    return Language::Japanese;
}

bool systemLocaleIsJapanese()
{
    return QLocale::system().language() == QLocale::Japanese;
}

QString loadString(int id, Language language)
{
    const StringRow* row = findRow(id);
    if (!row)
        return QString();
    return QString::fromUtf8(language == Language::English ? row->en : row->ja);
}

QString loadString(int id)
{
    return loadString(id, currentLanguage);
}

std::vector<int> stringIds()
{
    std::vector<int> ids;
    ids.reserve(std::size(kStrings));
    for (const StringRow& row : kStrings)
        ids.push_back(row.id);
    return ids;
}

QString saveProgressText(int phase, int percent)
{
    switch (phase) {
    case 0:
        return loadString(str::SavePreparing);
    case 1:
        return loadString(str::ProgressPercent).arg(loadString(str::SaveWritingHeader), QString::number(percent));
    case 2:
        return loadString(str::ProgressPercent).arg(loadString(str::SaveWriting), QString::number(percent));
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
        return loadString(str::ReasonNotFound);
    case EACCES:
    case EPERM:
        return loadString(str::ReasonAccessDenied);
    case ENOSPC:
    case EDQUOT:
        return loadString(str::ReasonDiskFull);
    case EROFS:
        return loadString(str::ReasonReadOnly);
    case ENOTDIR:
        return loadString(str::ReasonNotAFolder);
    case EEXIST:
        return loadString(str::ReasonExists);
    case EFBIG:
        return loadString(str::ReasonTooLarge);
    case ENAMETOOLONG:
        return loadString(str::ReasonNameTooLong);
    case EISDIR:
        return loadString(str::ReasonIsAFolder);
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

}  // namespace sigil
