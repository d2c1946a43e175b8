#pragma once
// The interface language for the tests of its texts.

#include <QRegularExpression>
#include <QString>

#include "platform/StringTable.h"

namespace sigil::test {

// Sets the interface language for one test and restores Japanese after it.
class LanguageScope {
public:
    explicit LanguageScope(Language language) { setInterfaceLanguage(language); }
    ~LanguageScope() { setInterfaceLanguage(Language::Japanese); }
};

// Whether the text holds kana, kanji or half-width katakana.
inline bool hasJapanese(const QString& text)
{
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3040}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff61}-\\x{ff9f}]"));
    return text.contains(japanese);
}

}  // namespace sigil::test
