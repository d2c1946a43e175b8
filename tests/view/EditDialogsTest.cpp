#include "view/EditDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include "platform/StringTable.h"
#include "support/ViewFixture.h"
#include "ui/DialogIds.h"
#include "view/ExportDialogs.h"
#include "view/OtherSizeDialog.h"

namespace sigil {
namespace {

using test::control;

// The one message a refusal showed, or empty when none was shown.
QString refusal(const test::ScriptedMessages& messages)
{
    EXPECT_LE(messages.shown.size(), 1u);
    return messages.shown.empty() ? QString() : messages.shown.front();
}

TEST(AddIconDialog, TakesOnlyIntegerSizesFromOneTo256)
{
    const QString notInteger = loadString(str::NotAnInteger);
    const QString badSize = loadString(str::BadIconSize);
    ASSERT_FALSE(notInteger.isEmpty());
    struct Case {
        const char* width;
        const char* height;
        QString message;  // empty: accepted
    };
    const Case cases[] = {
        {"0", "32", badSize},   {"257", "32", badSize},    {"32", "0", badSize},
        {"32", "257", badSize}, {"-5", "32", badSize},     {"abc", "32", notInteger},
        {"32", "", notInteger}, {"3.5", "32", notInteger}, {"99999999999", "32", notInteger},
        {"1", "256", {}},       {" 256 ", "1", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        test::ScriptedMessages messages;
        AddIconDialog dialog({16, 16, 8});
        control<QLineEdit>(dialog, kAddWidthEdit)->setText(QString::fromUtf8(c.width));
        control<QLineEdit>(dialog, kAddHeightEdit)->setText(QString::fromUtf8(c.height));
        dialog.accept();
        EXPECT_EQ(refusal(messages), c.message);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.message.isEmpty());
        // A refused OK leaves the choice as it came in.
        EXPECT_EQ(dialog.choice().width, c.message.isEmpty() ? QString(c.width).toInt() : 16);
        EXPECT_EQ(dialog.choice().height, c.message.isEmpty() ? QString(c.height).toInt() : 16);
    }
}

TEST(AddIconDialog, BitCountFollowsTheRadioButtons)
{
    struct Case {
        int bitCount;
        int radio;  // 0: none checked
    };
    const Case cases[] = {{1, kAddMonoRadio},
                          {4, kAdd16ColourRadio},
                          {8, kAdd256ColourRadio},
                          {24, kAddTrueColourRadio},
                          {32, kAddXpRadio},
                          {0, 0},
                          {16, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitCount);
        AddIconDialog opened({32, 32, c.bitCount});
        for (int id = kAddMonoRadio; id <= kAddXpRadio; ++id)
            EXPECT_EQ(control<QRadioButton>(opened, id)->isChecked(), id == c.radio) << id;
        opened.accept();
        EXPECT_EQ(opened.choice().bitCount, c.radio ? c.bitCount : 0);
        if (c.radio) {
            AddIconDialog clicked({32, 32, 0});
            control<QRadioButton>(clicked, c.radio)->setChecked(true);
            clicked.accept();
            EXPECT_EQ(clicked.choice().bitCount, c.bitCount);
        }
    }
}

TEST(RenameDialog, KeepsTheTextExactlyAsEntered)
{
    const char* const names[] = {"", " two  blanks ", "アイコン1", "x"};
    for (const char* name : names) {
        RenameDialog dialog("old");
        EXPECT_EQ(control<QLineEdit>(dialog, kRenameEdit)->text(), QStringLiteral("old"));
        control<QLineEdit>(dialog, kRenameEdit)->setText(QString::fromUtf8(name));
        dialog.accept();
        EXPECT_EQ(dialog.name(), name);
    }
    // A name from a file that is not UTF-8 survives an untouched edit.
    const std::string raw = "\x83\x41icon";
    RenameDialog dialog(raw);
    dialog.accept();
    EXPECT_EQ(dialog.name(), raw);
}

TEST(BatchDeleteDialog, AnswersTheTickedBoxesInControlOrder)
{
    const std::vector<std::vector<int>> ticks = {
        {}, {kDeleteMonoBox}, {kDeleteXpBox, kDeleteNonSquareBox}, {kDelete16Box, kDelete128Box}};
    for (const auto& ticked : ticks) {
        BatchDeleteDialog dialog;
        BatchDeleteBoxes want{};
        for (int id : ticked) {
            control<QCheckBox>(dialog, id)->setChecked(true);
            want[id - kDeleteMonoBox] = true;
        }
        dialog.accept();
        EXPECT_EQ(dialog.boxes(), want) << ticked.size();
    }
}

TEST(EditDialogs, RunWritesBackOnOkOnly)
{
    // Answers the next modal dialog: changes it, then OK or cancel.
    auto answer = [](bool ok, std::function<void(QWidget&)> change) {
        QTimer::singleShot(0, [=] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            change(*modal);
            ok ? static_cast<QDialog*>(modal)->accept() : static_cast<QDialog*>(modal)->reject();
        });
    };
    auto newName = [](QWidget& d) { control<QLineEdit>(d, kRenameEdit)->setText(QStringLiteral("new")); };
    std::string name = "old";
    answer(false, newName);
    EXPECT_FALSE(runRenameDialog(nullptr, name));
    EXPECT_EQ(name, "old");
    answer(true, newName);
    EXPECT_TRUE(runRenameDialog(nullptr, name));
    EXPECT_EQ(name, "new");

    NewIconChoice choice{32, 32, 8};
    answer(true, [](QWidget& d) {
        control<QLineEdit>(d, kAddWidthEdit)->setText(QStringLiteral("48"));
        control<QRadioButton>(d, kAddXpRadio)->setChecked(true);
    });
    EXPECT_TRUE(runAddIconDialog(nullptr, choice));
    EXPECT_EQ(choice.width, 48);
    EXPECT_EQ(choice.height, 32);
    EXPECT_EQ(choice.bitCount, 32);

    // Each batch delete opens with every box clear, whatever the caller holds.
    BatchDeleteBoxes boxes{};
    boxes.fill(true);
    answer(true, [](QWidget& d) { control<QCheckBox>(d, kDelete48Box)->setChecked(true); });
    EXPECT_TRUE(runBatchDeleteDialog(nullptr, boxes));
    BatchDeleteBoxes want{};
    want[kDelete48Box - kDeleteMonoBox] = true;
    EXPECT_EQ(boxes, want);
}

TEST(OtherSizeDialog, RefusesNonIntegersAndSizesOutside16To256)
{
    const QString notInteger = loadString(str::NotAnInteger);
    const QString outOfRange = loadString(str::SizeOutOfRange);
    const std::pair<const char*, QString> cases[] = {{"abc", notInteger}, {"", notInteger}, {"15", outOfRange},
                                                     {"257", outOfRange}, {"16", {}},       {"256", {}}};
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(text);
        test::ScriptedMessages messages;
        OtherSizeDialog dialog(32);
        control<QLineEdit>(dialog, kOtherSizeEdit)->setText(QString::fromUtf8(text));
        dialog.accept();
        EXPECT_EQ(refusal(messages), message);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, message.isEmpty());
        EXPECT_EQ(dialog.size(), message.isEmpty() ? QString(text).toInt() : 32);
    }
}

TEST(SaveOptionsDialog, EditsFollowTheNamingAndNegativeDigitsKeepItOpen)
{
    struct Case {
        bool numbered;
        const char* digits;
        bool accepted;
    };
    const Case cases[] = {{true, "3", true}, {true, "-1", false}, {false, "-1", true}, {true, "x", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.digits) + (c.numbered ? " numbered" : " by name"));
        test::ScriptedMessages messages;
        SaveOptionsDialog dialog({0, "icon", 0});
        auto* prefix = control<QLineEdit>(dialog, kSavePrefixEdit);
        EXPECT_FALSE(prefix->isEnabled());
        control<QRadioButton>(dialog, c.numbered ? kSaveNumberedRadio : kSaveByNameRadio)->click();
        EXPECT_EQ(prefix->isEnabled(), c.numbered);
        EXPECT_EQ(control<QLineEdit>(dialog, kSaveDigitsEdit)->isEnabled(), c.numbered);
        prefix->setText(QStringLiteral("p"));
        control<QLineEdit>(dialog, kSaveDigitsEdit)->setText(QString::fromUtf8(c.digits));
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        if (c.accepted) {
            EXPECT_EQ(dialog.choice().naming, c.numbered ? 1 : 0);
            EXPECT_EQ(dialog.choice().prefix, "p");
            EXPECT_EQ(dialog.choice().digits, QString(c.digits).toInt());
        }
    }
}

TEST(SnapAllDialog, TakesAnyIntegers)
{
    test::ScriptedMessages messages;
    SnapAllDialog dialog({0, 3});
    control<QLineEdit>(dialog, kSnapColumnsEdit)->setText(QStringLiteral("-2"));
    control<QLineEdit>(dialog, kSnapSpacingEdit)->setText(QStringLiteral("x"));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(refusal(messages), loadString(str::NotAnInteger));
    control<QLineEdit>(dialog, kSnapSpacingEdit)->setText(QStringLiteral("-7"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choice().columns, -2);
    EXPECT_EQ(dialog.choice().spacing, -7);
}

}  // namespace
}  // namespace sigil
