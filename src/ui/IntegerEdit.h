#pragma once
// Reading an integer edit of a dialog on OK: a text that holds no integer is
// refused with the one message every such edit shows, and the edit gets the
// focus back so that the dialog can stay open.

#include <optional>

class QLineEdit;

namespace sigil {

// The edit's value: an optional sign and decimal digits, blanks allowed
// around them, within the range of int. Otherwise shows string NotAnInteger
// over the edit's window, focuses and selects the edit, and answers nothing.
std::optional<int> readIntegerEdit(QLineEdit* edit);

}  // namespace sigil
