#include "platform/StringTable.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cerrno>

#include "support/LanguageScope.h"

namespace sigil {
namespace {

using test::hasJapanese;
using test::LanguageScope;

// The placeholders a text is filled in with, sorted: "%d", "%s", "%1"...
QStringList placeholders(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("%[ds1-9]"));
    QStringList found;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        found << it.next().captured();
    found.sort();
    return found;
}

// The mnemonic letters of a menu text ("&&" is a plain "&").
QString mnemonics(const QString& text)
{
    QString letters;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            letters += text[i + 1].toUpper();
        ++i;
    }
    return letters;
}

bool isMenuText(int id)
{
    return id >= str::MenuFile && id < str::ToolbarTitle;
}

// The English texts allowed Japanese words: each language by its own name.
bool mayHoldJapanese(int id)
{
    return id == str::SettingsLanguageJapanese;
}

TEST(StringTable, EveryStringHasAJapaneseAndAnEnglishText)
{
    const std::vector<int> ids = stringIds();
    ASSERT_GT(ids.size(), 200u);  // the commands' texts are the command table's
    EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    for (int id : ids) {
        SCOPED_TRACE(id);
        const QString ja = loadString(id, Language::Japanese);
        const QString en = loadString(id, Language::English);
        EXPECT_FALSE(ja.isEmpty());
        EXPECT_FALSE(en.isEmpty());
        if (!mayHoldJapanese(id)) {
            EXPECT_FALSE(hasJapanese(en)) << en.toStdString();
        }
        // Filled in alike, cut alike ("text\ntooltip"), the same keys after
        // a tab, and the same filter patterns.
        EXPECT_EQ(placeholders(ja), placeholders(en)) << en.toStdString();
        EXPECT_EQ(ja.count(QLatin1Char('\n')), en.count(QLatin1Char('\n'))) << en.toStdString();
        EXPECT_EQ(ja.section(QLatin1Char('\t'), 1), en.section(QLatin1Char('\t'), 1)) << en.toStdString();
        const QStringList jaParts = ja.split(QLatin1Char('|'));
        const QStringList enParts = en.split(QLatin1Char('|'));
        ASSERT_EQ(jaParts.size(), enParts.size()) << en.toStdString();
        for (qsizetype i = 1; i < jaParts.size(); i += 2)
            EXPECT_EQ(jaParts[i], enParts[i]);
    }
}

TEST(StringTable, MenuTextsHaveOneMnemonicInBothLanguages)
{
    for (int id : stringIds()) {
        if (!isMenuText(id))
            continue;
        SCOPED_TRACE(id);
        EXPECT_EQ(mnemonics(loadString(id, Language::Japanese)).size(), 1);
        EXPECT_EQ(mnemonics(loadString(id, Language::English)).size(), 1);
        // An English mnemonic is a letter or digit of the text itself.
        const QString en = loadString(id, Language::English).section(QLatin1Char('\t'), 0, 0);
        EXPECT_TRUE(mnemonics(en).front().isLetterOrNumber()) << en.toStdString();
    }
}

TEST(StringTable, TheLanguageChosenIsTheOneLookedUp)
{
    EXPECT_EQ(interfaceLanguage(), Language::Japanese);
    EXPECT_EQ(loadString(str::Untitled), QStringLiteral("無題"));
    {
        LanguageScope english(Language::English);
        EXPECT_EQ(interfaceLanguage(), Language::English);
        EXPECT_EQ(loadString(str::Untitled), QStringLiteral("Untitled"));
        EXPECT_EQ(saveProgressText(1, 40), QStringLiteral("Writing the header… (40%)"));
        EXPECT_EQ(systemReasonText(ENOSPC), QStringLiteral("There is not enough free disk space"));
    }
    EXPECT_EQ(loadString(str::Untitled), QStringLiteral("無題"));
    EXPECT_EQ(saveProgressText(1, 40), QStringLiteral("ヘッダを書き込んでいます..(40%)"));
    EXPECT_EQ(systemReasonText(ENOSPC), QStringLiteral("ディスクの空き領域が足りません"));
    EXPECT_EQ(loadString(12345, Language::English), QString());
}

TEST(StringTable, TheExistingNumbersKeepTheirJapaneseTexts)
{
    EXPECT_EQ(str::Untitled, 57707);
    EXPECT_EQ(str::NotAnInteger, 61712);
    EXPECT_EQ(loadString(57707, Language::Japanese), QStringLiteral("無題"));
    EXPECT_EQ(loadString(57690, Language::Japanese), QStringLiteral("%d個"));
}

TEST(StringTable, TheLanguageSettingNamesJapaneseEnglishOrTheSystems)
{
    struct Case {
        const char* value;
        bool systemIsJapanese;
        Language expected;
    };
    const Case cases[] = {
        {"ja", false, Language::Japanese},  {"en", true, Language::English},        {" EN ", true, Language::English},
        {"auto", false, Language::English}, {"Auto", true, Language::Japanese},     {"", false, Language::Japanese},
        {"fr", false, Language::Japanese},  {"english", false, Language::Japanese},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(languageFromSetting(c.value, c.systemIsJapanese), c.expected);
    }
}

}  // namespace
}  // namespace sigil
