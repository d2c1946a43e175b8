#pragma once
// The program's string table: every text the interface shows, by its number,
// in Japanese and in English, but the commands' own texts, which sit in the
// command table (ui/CommandTable.h). The interface language is chosen once
// at start-up, before any window is built; `sigil` never changes it.

#include <QString>
#include <string_view>
#include <vector>

namespace sigil {

namespace str {
enum StringId : int {
    DocumentTemplate = 100,

    // Our own numbers, 20000 to 21999, grouped by window.
    // The main frame's menu bar and menus (20000..20099), with mnemonics.
    MenuFile = 20000,
    MenuEdit = 20001,
    MenuView = 20002,
    MenuPalette = 20003,
    MenuHelp = 20004,
    MenuRecent = 20012,
    MenuUndoStep = 20031,  // %1: the step's name
    MenuRedoStep = 20033,
    MenuToolbar = 20060,
    MenuStatusBar = 20061,
    // The toolbar and the recent-files menu.
    ToolbarTitle = 20090,
    ToolbarCustomize = 20091,
    RecentNoData = 20095,

    // The settings dialog (20100..20199).
    SettingsTitle = 20100,
    SettingsDisplayGroup = 20101,
    SettingsShowGrid = 20102,
    SettingsVertical = 20103,
    SettingsHorizontal = 20104,
    SettingsXpDisplay = 20105,
    SettingsBackColor = 20106,
    SettingsSelectColor = 20107,
    SettingsMacGroup = 20108,
    SettingsMacColours = 20109,
    SettingsMacMono = 20110,
    SettingsMac16Colours = 20111,
    SettingsMac256Colours = 20112,
    SettingsMacTrueColour = 20113,
    SettingsMacSizes = 20114,
    SettingsMacFileTypes = 20115,
    SettingsMacFileTypesNote = 20116,
    SettingsBitmapGroup = 20117,
    SettingsTransparency = 20118,
    SettingsTransparentChosen = 20119,  // the list's five entries in order
    SettingsTransparentTopLeft = 20120,
    SettingsTransparentTopRight = 20121,
    SettingsTransparentBottomLeft = 20122,
    SettingsTransparentBottomRight = 20123,
    SettingsUseEditor = 20124,
    SettingsLanguage = 20125,
    SettingsLanguageJapanese = 20126,
    SettingsLanguageEnglish = 20127,
    SettingsLanguageAuto = 20128,
    SettingsLanguageNote = 20129,

    // The toolbar dialog (20200..20299).
    ToolbarDialogTitle = 20200,
    ToolbarAddButton = 20201,
    ToolbarRemoveButton = 20202,
    ToolbarUpButton = 20203,
    ToolbarDownButton = 20204,
    ToolbarResetButton = 20205,
    ToolbarSmall = 20206,
    ToolbarNormal = 20207,
    ToolbarLarge = 20208,
    ToolbarItemsLabel = 20209,
    ToolbarCommandsLabel = 20210,
    ToolbarSizeLabel = 20211,
    ToolbarEndMarker = 20212,
    ToolbarSeparatorEntry = 20213,

    // The shortcut card (20300..20399): headings, keys and actions.
    CardCursorHeading = 20300,
    CardMoveSelection = 20301,
    CardFirstIcon = 20302,
    CardLastIcon = 20303,
    CardPreviousPage = 20304,
    CardNextPage = 20305,
    CardArrangeHeading = 20306,
    CardMoveIcon = 20307,
    CardDragKey = 20308,
    CardCtrlDragKey = 20309,
    CardShiftDragKey = 20310,
    CardDuplicateIcon = 20311,
    CardSwapIcon = 20312,
    CardSizeHeading = 20313,
    CardStandardSizes = 20314,
    CardOnePixel = 20315,
    CardCtrlWheelKey = 20316,
    CardFileHeading = 20317,
    CardEditHeading = 20318,
    CardClipboardHeading = 20319,
    CardPropertyHeading = 20320,
    CardToProperty = 20321,
    CardZoom = 20322,
    CardOtherHeading = 20323,

    // The property window (20400..20499).
    PropertyTitle = 20400,
    PropertyDuplicateDevice = 20401,
    PropertyAddStep = 20402,
    PropertyDeleteStep = 20403,
    PropertyOpenBitmapStep = 20404,
    PropertyPasteStep = 20405,
    PropertyAddTip = 20406,
    PropertyDeleteTip = 20407,
    PropertyOpenBitmapTip = 20408,
    PropertyCopyTip = 20409,
    PropertyPasteTip = 20410,
    PropertyZoomTip = 20411,
    PropertyNormalViewTip = 20412,
    PropertyMaskOnlyTip = 20413,
    PropertyImageOnlyTip = 20414,
    PictureFilter = 20415,  // followed by BitmapFilter
    // A device's colour class in the list, by bit count.
    ColourClassMono = 20420,
    ColourClass16 = 20421,
    ColourClass256 = 20422,
    ColourClassHigh = 20423,
    ColourClassTrue = 20424,
    ColourClassXp = 20425,
    ColourClassUnknown = 20426,

    // The add, rename and batch delete dialogs (20500..20599).
    AddTitle = 20500,
    AddSizeGroup = 20501,
    DotUnit = 20502,  // also the other-size dialog's
    AddColoursGroup = 20503,
    AddMono = 20504,
    Add16Colours = 20505,
    Add256Colours = 20506,
    AddTrueColour = 20507,
    AddXp = 20508,
    RenameTitle = 20509,
    BatchTitle = 20510,
    BatchByColour = 20511,
    BatchBySize = 20512,
    BatchRun = 20513,
    BatchMono = 20514,  // the colour boxes in order
    Batch16Colours = 20515,
    Batch256Colours = 20516,
    BatchTrueColour = 20517,
    BatchXp = 20518,
    BatchNonSquare = 20519,  // the size boxes in order
    Batch16 = 20520,
    Batch24 = 20521,
    Batch32 = 20522,
    Batch48 = 20523,
    Batch64 = 20524,
    Batch72 = 20525,
    Batch128 = 20526,
    MakeSizesTitle = 20530,
    MakeSizesPrompt = 20531,

    // The save options, snap all and other size dialogs (20600..20699).
    SaveOptionsTitle = 20600,
    SaveFileNameGroup = 20601,
    SaveByName = 20602,
    SaveNumbered = 20603,
    SavePrefix = 20604,
    SaveDigits = 20605,
    SaveDigitsUnit = 20606,
    SnapAllTitle = 20607,
    SnapColumns = 20608,
    SnapColumnsUnit = 20609,
    SnapSpacing = 20610,
    SnapSpacingUnit = 20611,
    SnapColumnsNote = 20612,
    OtherSizeTitle = 20613,
    OtherSizePrompt = 20614,

    // The folder chooser, message boxes and dialog buttons (20700..20799).
    FolderAddButton = 20700,
    FolderUpdateButton = 20701,
    FolderDeleteButton = 20702,
    FolderBadName = 20703,
    FolderNotCreated = 20704,
    MessageYes = 20705,
    MessageNo = 20706,
    MessageCancel = 20707,
    ButtonOk = 20708,
    ButtonCancel = 20709,

    // Undo step names, as the edit menu shows them (20800..20899).
    StepAdd = 20800,
    StepDelete = 20801,
    StepDuplicate = 20802,
    StepRename = 20803,
    StepDeleteSameIcons = 20804,
    StepBatchDelete = 20805,
    StepMove = 20806,
    StepSwap = 20807,
    StepCopy = 20808,
    StepPaste = 20809,
    StepEditWithEditor = 20810,
    StepMakeSizes = 20811,

    // The about box and the status bar (20900..20999).
    AboutTitle = 20900,
    AboutSupport = 20901,
    AboutClose = 20902,
    AboutVersion = 20903,
    ProgressPercent = 20904,  // %1 text, %2 percent

    // Why a file operation failed (21000..21099).
    ReasonNotFound = 21000,
    ReasonAccessDenied = 21001,
    ReasonDiskFull = 21002,
    ReasonReadOnly = 21003,
    ReasonNotAFolder = 21004,
    ReasonExists = 21005,
    ReasonTooLarge = 21006,
    ReasonNameTooLong = 21007,
    ReasonIsAFolder = 21008,

    SizeOutOfRange = 57666,
    SaveFailed = 57669,
    GifRefused = 57673,
    BadIconSize = 57674,
    AskSaveLibrary = 57678,
    AskCancelLoad = 57680,
    NoSameIcons = 57682,
    SameIconsDeleted = 57683,
    SavePreparing = 57685,
    SaveWritingHeader = 57686,
    SaveWriting = 57687,
    SaveDone = 57688,
    IconCount = 57690,
    SelectedIcon = 57691,
    DisplaySize = 57692,
    ChooseOpenFolder = 57701,
    ChooseSaveFolder = 57702,
    Untitled = 57707,
    Loading = 57708,
    OpenFileFilter = 57709,
    SaveLibraryFilter = 57710,
    SaveIconFilter = 57711,
    EditorFilter = 57712,
    BitmapFilter = 57713,
    // The file dialog's refusal of a missing file; nothing else refers to it
    // by number, so it takes the free one after the dialog's filters.
    BadFileName = 57714,
    SupportPage = 57715,
    HelpFile = 57716,
    // Our own: a single icon file, and some of save all's files, that could
    // not be written (a failure that would otherwise pass unseen).
    IconNotSaved = 57730,
    IconsNotSaved = 57731,
    // A library beyond what one .icl holds: its tables, or its image data.
    LibraryTooManyIcons = 57732,
    LibraryTooMuchData = 57733,
    // Files that gave nothing when opened, and why.
    FileNotRead = 57734,
    FilesNotRead = 57735,
    FileIsEmpty = 57736,
    FileHasNoIcon = 57737,
    // The status bar during delete same icons and batch delete.
    SearchingSameIcons = 57738,
    DeletingDevices = 57739,
    // Why an icon gave no .ico file when the system reported nothing.
    IconHasNoImage = 57740,
    IconDoesNotFitIco = 57741,
    // Why an icon gave no .icns file.
    IconHasNoIcnsSize = 57742,
    // The framework's own message for an integer edit that holds no integer,
    // kept at the number the framework gives it, apart from the program's.
    NotAnInteger = 61712,
};
}  // namespace str

// The language of the interface's texts.
enum class Language {
    Japanese,  // the default: the program's texts as they have always been
    English,
};

// Chooses the language every later lookup gives; called once at start-up,
// before any window is built (tests may switch it back and forth).
void setInterfaceLanguage(Language language);
Language interfaceLanguage();

// The language a settings value names: "ja", "en" or "auto" (any case,
// blanks around ignored); "auto" is English unless the system's locale is
// Japanese; anything else, and no value, is Japanese.
Language languageFromSetting(std::string_view value, bool systemIsJapanese);
// Whether the system's locale (LANG, LC_ALL, LC_MESSAGES) is Japanese.
bool systemLocaleIsJapanese();

// The string with this number in the interface language; empty when the
// table has none.
QString loadString(int id);
// The string with this number in the given language.
QString loadString(int id, Language language);
// Every number the table holds, in ascending order.
std::vector<int> stringIds();

// The library writer's progress as the status bar shows it: phase 0 to 3,
// phases 1 and 2 followed by "(percent%)"; empty for any other phase.
QString saveProgressText(int phase, int percent);

// Why a file operation failed, for a message: the interface language's
// words for the common reasons (a missing folder, no permission, a full
// disk...), the system's own words for the rest.
QString systemReasonText(int error);

}  // namespace sigil
