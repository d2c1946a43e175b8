#pragma once
// The program's string table: every message and status text by its number,
// and the prompt of each command ("text\ntooltip").

#include <QString>

namespace sigil {

namespace str {
enum StringId : int {
    DocumentTemplate = 100,
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
    // The framework's own message for an integer edit that holds no integer,
    // kept at the number the framework gives it, apart from the program's.
    NotAnInteger = 61712,
};
}  // namespace str

// The string with this number; empty when the table has none.
QString loadString(int id);
// A command's text (before the first "\n") and its tooltip (after it, or
// the whole string when it has no "\n").
QString commandText(int commandId);
QString commandTooltip(int commandId);
// The library writer's progress as the status bar shows it: phase 0 to 3,
// phases 1 and 2 followed by "(percent%)"; empty for any other phase.
QString saveProgressText(int phase, int percent);

// Why a file operation failed, for a message: Japanese for the common
// reasons (a missing folder, no permission, a full disk...), the system's
// own words for the rest.
QString systemReasonText(int error);

}  // namespace sigil
