#include "ui/MessageBoxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QTranslator>

#include "ui/QtTranslation.h"

using namespace sigil;

namespace {

struct BoxCase {
    const char* name;
    QMessageBox::StandardButtons buttons;
    QStringList texts;  // in the box's order
    Qt::Key key;        // pressed while the box is shown
    QMessageBox::StandardButton answer;
};

class ShownMessageBox : public testing::TestWithParam<BoxCase> {};

// A real box: its buttons read in Japanese and answer to their letters.
TEST_P(ShownMessageBox, HasJapaneseButtonsThatAnswerToTheirMnemonics)
{
    const BoxCase& c = GetParam();
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QAbstractButton* button : box->buttons())
            seen << button->text();
        QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
        QCoreApplication::sendEvent(box, &press);
    });
    EXPECT_EQ(showMessage(nullptr, QStringLiteral("保存しますか？"), QMessageBox::Question, c.buttons), c.answer);
    seen.sort();
    QStringList expected = c.texts;
    expected.sort();
    EXPECT_EQ(seen, expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShownMessageBox,
                         testing::Values(BoxCase{"YesNoCancelAnsweredNo",
                                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                                 {"はい(&Y)", "いいえ(&N)", "キャンセル"},
                                                 Qt::Key_N,
                                                 QMessageBox::No},
                                         BoxCase{"YesNoAnsweredYes",
                                                 QMessageBox::Yes | QMessageBox::No,
                                                 {"はい(&Y)", "いいえ(&N)"},
                                                 Qt::Key_Y,
                                                 QMessageBox::Yes},
                                         BoxCase{"CancelByEscape",
                                                 QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                                 {"はい(&Y)", "いいえ(&N)", "キャンセル"},
                                                 Qt::Key_Escape,
                                                 QMessageBox::Cancel},
                                         BoxCase{"OkAlone", QMessageBox::Ok, {"OK"}, Qt::Key_Return, QMessageBox::Ok}),
                         [](const auto& info) { return info.param.name; });

TEST(QtTranslation, QtsOwnTextsComeInJapanese)
{
    QTranslator* translator = installQtTranslation(*qApp);
    ASSERT_NE(translator, nullptr) << "qtbase_ja is missing: scripts/setup.sh installs qt6-translations-l10n";
    const QString lookIn = QCoreApplication::translate("QFileDialog", "Look in:");
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_NE(lookIn, QStringLiteral("Look in:"));
    EXPECT_EQ(cancel, QStringLiteral("キャンセル"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

}  // namespace
