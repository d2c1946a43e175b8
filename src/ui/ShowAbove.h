#pragma once
// Shows a floating tool window above its owner once the owner's own window
// is on screen. A tool window shown before its owner is mapped is stacked
// under it by some window managers (openbox among them), so the window
// waits for the owner's first exposure instead.

#include <functional>

class QWidget;

namespace sigil {

// Shows and raises `tool` when `owner` is exposed (at once when it already
// is), provided `wanted` still answers true then. Nothing happens when
// either window is gone by then.
void showAboveWhenExposed(QWidget* tool, QWidget* owner, std::function<bool()> wanted);

}  // namespace sigil
