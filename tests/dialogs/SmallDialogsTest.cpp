// The message window and the three questions: captions, texts, answers and
// where they are placed over the main window.

#include "dialogs/TConfirmDatabaseUpdate.h"
#include "dialogs/TMyMessageWindow.h"
#include "dialogs/TSelectBlackOrWhiteForm.h"
#include "dialogs/TSelectDatabaseDirectory.h"
#include "dialogs/TWhichRemoveForm.h"
#include "support/qt/ModalWatchdog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace korvana {
namespace {

TEST(TMyMessageWindowTest, CaptionDefaultsToKorvana)
{
    testing::ModalWatchdog watchdog;
    TMyMessageWindow window;
    EXPECT_FALSE(window.isVisible()) << "created hidden";
    EXPECT_EQ(window.size(), QSize(269, 87));
    const QRect main(100, 50, 516, 460);

    window.prepare(QStringLiteral("Black Win by FIVE IN A ROW"), QStringLiteral("Game over"), main);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Game over"));
    EXPECT_EQ(window.message(), QStringLiteral("Black Win by FIVE IN A ROW"));
    const QLabel *label = window.findChild<QLabel *>(QStringLiteral("Message"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(label->wordWrap());

    window.prepare(QStringLiteral("Give up"), QString(), main);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("KORVANA"));
}

TEST(TMyMessageWindowTest, OkClosesTheWindow)
{
    testing::ModalWatchdog watchdog;
    TMyMessageWindow window;
    window.prepare(QStringLiteral("x"), QString(), QRect(0, 0, 510, 420));
    window.show();
    auto *ok = window.findChild<QPushButton *>(QStringLiteral("OK"));
    ASSERT_NE(ok, nullptr);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST(TMyMessageWindowTest, CentredOnTheMainWindow)
{
    struct Case {
        QRect main;
        QSize window;
        QPoint expected;
    };
    const Case cases[] = {
        {{100, 50, 516, 460}, {277, 113}, {100 + 119, 50 + 173}},
        {{0, 0, 511, 421}, {270, 110}, {120, 155}},          // odd halves truncated
        {{10, 10, 100, 100}, {277, 113}, {10 - 88, 10 - 6}}, // negative halves truncated toward zero
    };
    for (const Case &c : cases)
        EXPECT_EQ(TMyMessageWindow::centredOn(c.main, c.window), c.expected) << c.main.width();
}

TEST(TQuestionFormTest, PlacedBesideTheMiddleByTheMessageWindowsSize)
{
    struct Case {
        QRect main;
        QSize message;
        QPoint expected;
    };
    const Case cases[] = {
        // 1.2 x 239 = 286.8 and 0.9 x (460 - 113) = 312.3, both truncated.
        {{100, 50, 516, 460}, {277, 113}, {386, 362}},
        {{0, 0, 277, 113}, {277, 113}, {0, 0}},
        // A main window smaller than the message window: truncation toward zero, not down.
        {{0, 0, 270, 100}, {277, 113}, {-8, -11}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TQuestionForm::questionPosition(c.main, c.message), c.expected) << c.main.width();
}

TEST(TQuestionFormTest, CaptionsTextsAndAnswers)
{
    struct Case {
        std::function<std::unique_ptr<TQuestionForm>()> make;
        const char *caption, *question, *first, *second;
        int initial, firstAnswer, secondAnswer;
    };
    const Case cases[] = {
        {[] { return std::make_unique<TSelectBlackOrWhiteForm>(); }, "Korvana for WC", "Choose Black or White", "Black",
         "White", 1, 1, 0},
        {[] { return std::make_unique<TConfirmDatabaseUpdate>(); }, "Database Update", "Database Update?", "Yes", "No",
         0, 1, 0},
        {[] { return std::make_unique<TWhichRemoveForm>(); }, "Korvana for WC", "Which do you remove?", "A", "B", 0, 0,
         1},
    };
    testing::ModalWatchdog watchdog;
    for (const Case &c : cases) {
        auto form = c.make();
        SCOPED_TRACE(c.caption + std::string(" / ") + c.question);
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->windowTitle(), QString::fromLatin1(c.caption));
        EXPECT_EQ(form->findChild<QLabel *>(QStringLiteral("Question"))->text(), QString::fromLatin1(c.question));
        EXPECT_EQ(form->firstButton()->text(), QString::fromLatin1(c.first));
        EXPECT_EQ(form->secondButton()->text(), QString::fromLatin1(c.second));
        EXPECT_EQ(form->answer(), c.initial);
        EXPECT_FALSE(form->windowFlags() & Qt::WindowCloseButtonHint) << "no close box";

        form->show();
        QTest::keyClick(form.get(), Qt::Key_Escape);
        EXPECT_TRUE(form->isVisible()) << "Escape does not answer";
        QTest::mouseClick(form->secondButton(), Qt::LeftButton);
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->answer(), c.secondAnswer);
        form->show();
        QTest::mouseClick(form->firstButton(), Qt::LeftButton);
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->answer(), c.firstAnswer);
    }
}

TEST(TSelectDatabaseDirectoryTest, CreatedHiddenWithItsCaption)
{
    TSelectDatabaseDirectory chooser;
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Database Directory"));
    EXPECT_EQ(chooser.size(), QSize(174, 347));
    chooser.setDirectory(QStringLiteral("/tmp/../tmp"));
    EXPECT_EQ(chooser.directory(), QStringLiteral("/tmp/"));
}

} // namespace
} // namespace korvana
