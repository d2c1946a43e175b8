#pragma once
// A settings colour (0x00BBGGRR) as Qt draws with it.

#include <QColor>

#include "model/DisplaySettings.h"

namespace sigil {

inline QColor toQColor(Color c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

}  // namespace sigil
