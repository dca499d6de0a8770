// The main window: layout sizes, settings applied at start, caption, board
// clicks and typed points, the Begin/Give up commands, the computer thinking
// while the window keeps serving events, the repaint request, dropped and
// command-line files, close and destroy. Modal windows are answered by a
// scripted subclass; the watchdog fails a test that opens one for real.

#include "app/TMainForm.h"

#include "board/Point.h"
#include "board/PosStat.h"
#include "game/GameFlow.h"
#include "settings/KvParam.h"
#include "support/qt/ModalWatchdog.h"
#include "view/BoardPaintBox.h"
#include "view/MoveList.h"
#include "view/StatusLine.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace korvana {
namespace {

/// The designed client width: the board box and a side panel wide enough for the
/// move list's longest line in the DejaVu font the tests run with.
constexpr int DesignedWidth = 575;

constexpr const char *Product = "Korvana3 for Preview Release";

class ScriptedMainForm : public TMainForm {
public:
    using TMainForm::TMainForm;

    void showMessageWindow(const std::string &text, const std::string &caption) override
    {
        messages.emplace_back(text, caption);
    }
    bool askColourIsBlack() override { return true; }
    bool askDatabaseUpdate() override { return false; }
    int askWhichRemove() override { return 0; }
    void beep(BeepKind) override { ++beeps; }
    SaveChanges askSaveChanges() override { return SaveChanges::Discard; }

    std::vector<std::pair<std::string, std::string>> messages;
    int beeps = 0;
};

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        programPath = dir.filePath(QStringLiteral("korvana")).toStdString();
        KvFlags::instance().fileName.clear();
        // The error log is written to the working directory.
        previousDirectory = QDir::currentPath();
        QDir::setCurrent(dir.path());
    }
    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(previousDirectory);
    }

    /// Settings written before the program starts.
    void presetSettings(const std::vector<std::tuple<const char *, const char *, int>> &values)
    {
        KvParam settings;
        settings.SetPath(programPath);
        for (auto [section, key, value] : values)
            settings.SetInt(section, key, value);
        ASSERT_EQ(settings.Save(), 0);
    }
    std::string settingsFileText() const
    {
        KvParam settings;
        settings.SetPath(programPath);
        std::ifstream in(settings.Path());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    ScriptedMainForm &start()
    {
        form = std::make_unique<ScriptedMainForm>(programPath);
        form->show();
        QApplication::processEvents();
        return *form;
    }
    std::string status() const { return form->statusLine()->statusText().toStdString(); }
    int moveCount() const { return form->flow().game().board().moveCount(); }
    void click(QPoint pixel, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(form->paintBox(), button, {}, pixel);
    }
    std::string writeFile(const char *name, const std::string &text) const
    {
        const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
        std::ofstream(path) << text;
        return path;
    }

    testing::ModalWatchdog watchdog;
    QTemporaryDir dir;
    std::string programPath;
    QString previousDirectory;
    std::unique_ptr<ScriptedMainForm> form;
};

TEST_F(MainFormTest, WindowAndPaintBoxSizes)
{
    ScriptedMainForm &w = start();
    EXPECT_EQ(w.clientSize(), QSize(DesignedWidth, 401));
    EXPECT_EQ(w.minimumSize(), w.size()) << "the designed size is the least";
    EXPECT_GT(w.maximumWidth(), DesignedWidth) << "and the window can grow";
    EXPECT_EQ(w.paintBox()->size(), QSize(351, 343));
    EXPECT_EQ(w.paintBox()->objectName(), QStringLiteral("Goban0"));
    EXPECT_EQ(w.toolBar()->height(), 33);
    EXPECT_TRUE(w.toolBar()->isVisible());
    EXPECT_EQ(w.statusLine()->height(), 25);
    EXPECT_EQ(w.moveList()->size(), QSize(DesignedWidth - 351 - 14, 241));
    // Stacked without gaps: tool bar, board, status line.
    const QPoint board = w.paintBox()->mapTo(&w, QPoint(0, 0));
    EXPECT_EQ(board, QPoint(0, w.menuBar()->height() + 33));
    EXPECT_EQ(w.statusLine()->geometry().top(), board.y() + 343);
    EXPECT_EQ(w.statusLine()->geometry().bottom() + 1, w.height());
    const QWidget *panel = w.findChild<QWidget *>(QStringLiteral("Panel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->geometry(), QRect(351, 0, DesignedWidth - 351, 343));
    for (const char *name : {"BlackLabel", "WhiteLabel", "BlackPlayer", "WhitePlayer", "BlackTime", "WhiteTime"})
        EXPECT_TRUE(w.findChild<QWidget *>(QString::fromLatin1(name))->isVisible()) << name;
    EXPECT_EQ(w.panelText(QStringLiteral("BlackLabel")), QStringLiteral("Black"));
    EXPECT_EQ(w.panelText(QStringLiteral("WhiteLabel")), QStringLiteral("White"));
}

TEST_F(MainFormTest, EveryMoveListLineFitsAtTheDesignedSize)
{
    const MoveList &list = *start().moveList();
    ASSERT_FALSE(QFontInfo(list.font()).family().isEmpty());
    const int room = list.viewport()->width() - 2 * static_cast<int>(list.document()->documentMargin());
    int widest = 0;
    QString widestText;
    for (char colour : {Black, White})
        for (int code = 0; code < Stat::Count; ++code)
            for (int point = 0; point < PointCount; ++point) {
                const QString line = QString::fromStdString(
                    GameFlow::MoveListLine(colour, PointCount, point % BoardSize, point / BoardSize, code) +
                    GameFlow::VariationMark);
                if (const int width = list.fontMetrics().horizontalAdvance(line); width > widest)
                    std::tie(widest, widestText) = std::tie(width, line);
            }
    EXPECT_LE(widest, room) << widestText.toStdString() << " is cut";
}

TEST_F(MainFormTest, ToolBarSettingHidesItAndShortensTheWindow)
{
    presetSettings({{"System", "ViewToolBar", 0}, {"System", "ViewWarning", 1}});
    ScriptedMainForm &w = start();
    EXPECT_FALSE(w.toolBar()->isVisible());
    EXPECT_EQ(w.clientSize(), QSize(DesignedWidth, 368));
    EXPECT_FALSE(w.action(QStringLiteral("Tool bar"))->isChecked());
    EXPECT_TRUE(w.action(QStringLiteral("Warning"))->isChecked());
    EXPECT_TRUE(w.action(QStringLiteral("Numbering"))->isChecked());
    EXPECT_FALSE(w.action(QStringLiteral("Latest Move"))->isChecked());

    w.action(QStringLiteral("Tool bar"))->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(w.toolBar()->isVisible());
    EXPECT_EQ(w.clientSize(), QSize(DesignedWidth, 401));
    EXPECT_EQ(w.flow().settings().GetInt("System", "ViewToolBar"), 1);
}

TEST_F(MainFormTest, GrownWindowGrowsTheBoardAndClicksFindTheirPoints)
{
    ScriptedMainForm &w = start();
    const QSize designed = w.size();
    const QWidget *panel = w.findChild<QWidget *>(QStringLiteral("Panel"));
    // The designed window shows exactly the designed picture.
    auto designedPicture = [&] {
        BoardView fresh(w.flow().settings());
        fresh.paint(w.flow().game(), {});
        return fresh.bitmap();
    };
    const QSize sizes[] = {designed, designed + QSize(400, 300), designed + QSize(100, 500)};
    for (const QSize size : sizes) {
        SCOPED_TRACE(size.width());
        w.resize(size);
        QApplication::processEvents();
        const QSize box = w.paintBox()->size();
        EXPECT_EQ(box.height(), w.centralWidget()->height());
        EXPECT_EQ(panel->geometry().left(), box.width()) << "the panel takes the rest";
        EXPECT_EQ(panel->geometry().right() + 1, w.width());
        EXPECT_GE(w.moveList()->width(), 145);
        EXPECT_EQ(w.moveList()->height(), box.height() - 102) << "the move list grows with the panel";
        const int cell = std::max(20, std::min(box.width() * 20 / 351, box.height() * 20 / 343));
        const QPoint origin((box.width() - 351 * cell / 20) / 2, (box.height() - 343 * cell / 20) / 2);
        w.flow().NewGame();
        for (auto [x, y] : {std::pair{0, 0}, {7, 7}, {14, 13}}) {
            const QPoint centre = origin + QPoint(40 + 20 * x, 40 + 20 * y) * cell / 20;
            click(centre);
            const MovedPos &move = w.flow().game().board().history()[moveCount() - 1];
            EXPECT_EQ(std::pair(int(move.x), int(move.y)), std::pair(x, y));
            const QColor stone = (moveCount() % 2) ? QColor(Qt::black) : QColor(Qt::white);
            EXPECT_EQ(w.view().bitmap().pixelColor(centre + QPoint(-cell / 4, -cell / 4)), stone)
                << "the stone lies under the click";
        }
        if (size == designed) {
            EXPECT_TRUE(w.view().bitmap() == designedPicture());
        }
    }
    w.resize(designed);
    QApplication::processEvents();
    EXPECT_TRUE(w.view().bitmap() == designedPicture()) << "back at the designed size";
}

TEST_F(MainFormTest, PlaceAndSizeAreKeptAndRestoredOnScreen)
{
    ScriptedMainForm &first = start();
    first.setGeometry(30, 40, 700, 560);
    QApplication::processEvents();
    first.close();
    form.reset();
    EXPECT_NE(settingsFileText().find("MainForm=30,40,700,560,0"), std::string::npos) << settingsFileText();
    EXPECT_EQ(start().geometry(), QRect(30, 40, 700, 560));
    form.reset();

    auto startWith = [&](const char *placement) -> ScriptedMainForm & {
        form.reset(); // its settings file first, then ours
        KvParam settings;
        settings.SetPath(programPath);
        settings.Load();
        settings.SetText("WIN32", "MainForm", placement);
        EXPECT_EQ(settings.Save(), 0);
        return start();
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(startWith("5000,-4000,700,560,0").geometry())) << "moved back on screen";
    EXPECT_TRUE(startWith("30,40,700,560,1").isMaximized());
    for (const char *damaged : {"30,40,700", "30,40,700,560,0,9", "x,40,700,560,0", ""})
        EXPECT_EQ(startWith(damaged).size(), form->minimumSize()) << damaged;
}

TEST_F(MainFormTest, CaptionFollowsPlayModeAndRule)
{
    struct Case {
        int rule;
        std::string suffix;
    };
    const Case cases[] = {{0, " [Play Mode (Renju)]"}, {1, " [Play Mode (Gomoku)]"}, {7, ""}};
    for (const Case &c : cases) {
        presetSettings({{"Option", "GameRule", c.rule}});
        ScriptedMainForm &w = start();
        EXPECT_EQ(w.windowTitle().toStdString(), Product) << c.rule;
        w.action(QStringLiteral("Black"))->trigger();
        EXPECT_EQ(w.windowTitle().toStdString(), Product + c.suffix) << c.rule;
        form.reset();
    }
}

TEST_F(MainFormTest, ClicksMapToPoints)
{
    struct Case {
        QPoint pixel;
        Qt::MouseButton button;
        int x, y; ///< -1: no move
    };
    const Case cases[] = {
        {{185, 185}, Qt::LeftButton, 7, 7},    {{12, 12}, Qt::LeftButton, 0, 0},
        {{329, 330}, Qt::LeftButton, -1, -1}, // row 15: off the board
        {{5, 100}, Qt::LeftButton, -1, -1},   // column -1
        {{100, 100}, Qt::RightButton, -1, -1}, {{100, 100}, Qt::MiddleButton, -1, -1},
        {{329, 329}, Qt::LeftButton, 14, 14},
    };
    ScriptedMainForm &w = start();
    for (const Case &c : cases) {
        w.flow().NewGame();
        click(c.pixel, c.button);
        if (c.x < 0) {
            EXPECT_EQ(moveCount(), 0) << c.pixel.x() << "," << c.pixel.y();
            continue;
        }
        ASSERT_EQ(moveCount(), 1) << c.pixel.x() << "," << c.pixel.y();
        const MovedPos &move = w.flow().game().board().history()[0];
        EXPECT_EQ(std::pair(int(move.x), int(move.y)), std::pair(c.x, c.y));
        EXPECT_EQ(w.moveList()->lineCount(), 1);
    }
    w.flow().NewGame();
    click({185, 185});
    EXPECT_EQ(w.moveList()->line(0), QStringLiteral("B1(h8):"));
    EXPECT_EQ(w.view().bitmap().pixelColor(174, 174), QColor(Qt::black)) << "the picture shows the stone";
}

TEST_F(MainFormTest, TypedPointsAndBackspace)
{
    ScriptedMainForm &w = start();
    QTest::keyClicks(&w, QStringLiteral("h8"));
    ASSERT_EQ(moveCount(), 1);
    // Booked from start-up: a few seconds at most, formatted "%-4.0f(sec.)".
    const QString time = w.panelText(QStringLiteral("BlackTime"));
    EXPECT_TRUE(time.endsWith(QStringLiteral("(sec.)"))) << time.toStdString();
    EXPECT_LT(time.left(4).trimmed().toInt(), 60) << time.toStdString();
    EXPECT_EQ(w.flow().game().board().history()[0].x, 7);
    EXPECT_EQ(w.flow().game().board().history()[0].y, 7);

    QTest::keyClicks(&w, QStringLiteral("Ig")); // g is no row: I stays pending
    EXPECT_EQ(w.flow().flags().pendingColumn, 'i');
    QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_EQ(w.flow().flags().pendingColumn, 'z');
    QTest::keyClicks(&w, QStringLiteral("9"));
    EXPECT_EQ(moveCount(), 1) << "no column pending";
    // Keys reach the window first even when the move list has the focus.
    w.moveList()->setFocus();
    QTest::keyClicks(w.moveList(), QStringLiteral("iA"));
    ASSERT_EQ(moveCount(), 2);
    EXPECT_EQ(w.moveList()->line(1), QStringLiteral("W2(iA):"));
    // Backspace without a pending column takes a move back; the list keeps it after the highlight.
    QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_EQ(moveCount(), 1);
    EXPECT_EQ(w.moveList()->lineCount(), 2);
    EXPECT_EQ(w.moveList()->currentLine(), 0);
}

TEST_F(MainFormTest, BeginBlackAndGiveUp)
{
    ScriptedMainForm &w = start();
    QAction *giveUp = w.action(QStringLiteral("Give up"));
    EXPECT_FALSE(giveUp->isEnabled());
    w.action(QStringLiteral("Black"))->trigger();
    EXPECT_EQ(w.panelText(QStringLiteral("BlackPlayer")), QStringLiteral("You"));
    EXPECT_EQ(w.panelText(QStringLiteral("WhitePlayer")), QStringLiteral("Computer"));
    EXPECT_EQ(status(), "Your Turn");
    EXPECT_TRUE(giveUp->isEnabled());
    EXPECT_EQ(w.flow().flags().thinking, 0);
    giveUp->trigger();
    EXPECT_EQ(status(), "Give up");
    EXPECT_FALSE(giveUp->isEnabled());
    EXPECT_EQ(w.flow().flags().playing, 0);
}

TEST_F(MainFormTest, ComputerThinksWhileTheWindowServesEvents)
{
    ScriptedMainForm &w = start();
    // A middle game with Black to move, so that the search has work to do.
    for (auto [x, y] : {std::pair{7, 7}, {8, 8}, {6, 8}, {8, 6}, {8, 7}, {6, 7}, {9, 6}, {10, 5}, {5, 9}, {4, 10}})
        click(BoardView::pointCentre(x, y));
    ASSERT_EQ(moveCount(), 10);
    // A real event loop: a zero-interval timer fires on every pass while the worker runs.
    QEventLoop loop;
    int ticksWhileThinking = 0;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ticksWhileThinking += w.flow().flags().thinking;
        if (moveCount() == 11 && !w.flow().flags().thinking)
            loop.quit();
    });
    QTimer::singleShot(30000, &loop, [&] { loop.exit(1); });
    QElapsedTimer clock;
    clock.start();
    w.action(QStringLiteral("White"))->trigger(); // the computer plays Black
    EXPECT_EQ(status(), "Now Thinking");
    EXPECT_EQ(w.panelText(QStringLiteral("BlackPlayer")), QStringLiteral("Computer"));
    QAction *next = w.action(QStringLiteral("Next move"));
    EXPECT_FALSE(next->isEnabled() || w.moveList()->clickable()) << "no walking while the computer thinks";
    timer.start();
    EXPECT_EQ(loop.exec(), 0) << "the computer did not answer";
    RecordProperty("search_ms", static_cast<int>(clock.elapsed()));
    RecordProperty("ticks_while_thinking", ticksWhileThinking);
    EXPECT_GT(ticksWhileThinking, 0);
    EXPECT_EQ(w.moveList()->lineCount(), 11);
    EXPECT_TRUE(next->isEnabled() && w.moveList()->clickable());
}

TEST_F(MainFormTest, GameOverIsAskedOfTheWindowAndRepeatedOnTheNextClick)
{
    ScriptedMainForm &w = start();
    // Black a1..e1, White on row 3.
    for (int i = 0; i < 5; ++i) {
        click(BoardView::pointCentre(i, 0));
        if (i < 4)
            click(BoardView::pointCentre(i, 2));
    }
    ASSERT_EQ(moveCount(), 9);
    ASSERT_EQ(w.messages.size(), 1u);
    EXPECT_EQ(w.messages[0].first, "Black Win by FIVE IN A ROW");
    EXPECT_EQ(w.messages[0].second, "Game over");
    EXPECT_EQ(status(), "Black Win by FIVE IN A ROW");
    EXPECT_EQ(w.moveList()->line(8), QStringLiteral("B9(e1):FIVE IN A ROW"));
    click(BoardView::pointCentre(10, 10));
    EXPECT_EQ(moveCount(), 9);
    EXPECT_EQ(w.messages.size(), 2u);
}

TEST_F(MainFormTest, RepaintRequestRedrawsTheBoard)
{
    ScriptedMainForm &w = start();
    EXPECT_EQ(w.view().bitmap().pixelColor(50, 50), QColor(228, 175, 14));
    w.flow().settings().SetInt("Option", "BoardColor", 0x00ff00);
    QApplication::postEvent(&w, new QEvent(TMainForm::RepaintRequest));
    QApplication::processEvents();
    EXPECT_EQ(w.view().bitmap().pixelColor(50, 50), QColor(0, 255, 0));
}

TEST_F(MainFormTest, DroppedFilesOpenOnlyTheFirst)
{
    const std::string first = writeFile("first.sgf", "(;GM[4]SZ[15]RU[Renju 1998];B[hh];W[ii])");
    const std::string second = writeFile("second.sgf", "(;GM[4]SZ[15]RU[Renju 1998];B[aa])");
    ScriptedMainForm &w = start();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(first)),
                  QUrl::fromLocalFile(QString::fromStdString(second)),
                  QUrl::fromLocalFile(QStringLiteral("/nonexistent/third.sgf"))});
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    EXPECT_EQ(w.flow().flags().fileName, first);
    EXPECT_EQ(w.windowTitle().toStdString(), std::string(Product) + " - " + first);
    ASSERT_EQ(moveCount(), 2);
    EXPECT_EQ(w.moveList()->toPlainText(), QStringLiteral("B1(h8):\nW2(i9):"));
}

TEST_F(MainFormTest, CommandLineFileIsOpened)
{
    const std::string game = writeFile("game.sgf", "(;GM[4]SZ[15]RU[Renju 1998];B[hh];W[hi];B[ih])");
    ScriptedMainForm &w = start();
    w.OpenFromCommandLine({QStringLiteral("korvana"), QString::fromStdString(game)});
    EXPECT_EQ(w.windowTitle().toStdString(), std::string(Product) + " - " + game);
    EXPECT_EQ(moveCount(), 3);
    EXPECT_EQ(w.moveList()->lineCount(), 3);
    // A missing file is named in a message; game and caption stay.
    w.OpenFromCommandLine({QStringLiteral("korvana"), QStringLiteral("/nonexistent/x.sgf")});
    EXPECT_EQ(w.windowTitle().toStdString(), std::string(Product) + " - " + game);
    EXPECT_EQ(moveCount(), 3);
    ASSERT_FALSE(w.messages.empty());
    EXPECT_EQ(w.messages.back().first, "can't open /nonexistent/x.sgf: the file does not exist");
}

TEST_F(MainFormTest, CloseGivesUpAndDestroyWritesTheSettings)
{
    ScriptedMainForm &w = start();
    w.action(QStringLiteral("Black"))->trigger();
    w.action(QStringLiteral("Numbering"))->trigger();
    EXPECT_EQ(w.flow().settings().GetInt("System", "ViewBoardNumbering"), 0);
    w.close();
    EXPECT_EQ(w.flow().flags().playing, 0);
    EXPECT_EQ(status(), "Give up");
    EXPECT_EQ(settingsFileText().find("ViewBoardNumbering=0"), std::string::npos) << "toggles are not saved at once";
    form.reset();
    EXPECT_NE(settingsFileText().find("ViewBoardNumbering=0"), std::string::npos);
}

TEST(KorvanaProgramTest, ScreenshotRendersTheMainWindow)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("shot.png"));
    const QString game = dir.filePath(QStringLiteral("game.sgf"));
    std::ofstream(game.toStdString()) << "(;GM[4]SZ[15]RU[Renju 1998];B[hh];W[ii];B[gi])";
    QProcess program;
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(KORVANA_BIN_DIR "/korvana"), {QStringLiteral("--screenshot"), picture, game});
    ASSERT_TRUE(program.waitForFinished(30000)) << "korvana must be built";
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QImage image(picture);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), DesignedWidth);
    EXPECT_GT(image.height(), 401) << "menu bar above the client area";
    // The loaded game's first stone: h8, on the board below the menu and tool bars.
    const int top = image.height() - 401 + 33;
    EXPECT_EQ(image.pixelColor(174, top + 174), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(194, top + 194), QColor(Qt::white));
}

TEST(KorvanaProgramTest, ScreenshotOfAFileThatCannotBeReadSaysSoAndDoesNotWait)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("shot.png"));
    QProcess program;
    program.setWorkingDirectory(dir.path());
    program.start(QStringLiteral(KORVANA_BIN_DIR "/korvana"), {QStringLiteral("--screenshot"), picture, dir.path()});
    ASSERT_TRUE(program.waitForFinished(30000)) << "a message window must not wait for a click";
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_NE(program.readAllStandardError().indexOf("directory"), -1);
    EXPECT_FALSE(QImage(picture).isNull());
}

TEST(KorvanaProgramTest, ScreenshotActionThatOpensADialogIsRefusedNotWaitedFor)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("shot.png"));
    // The last: the computer, Black under WC 1998, plays the opening and asks the colour meanwhile.
    const QStringList runs[] = {{"--action", "Open Game"},
                                {"--action", "Option"},
                                {"--action", "WC 1998", "--action", "White", "--wait", "20000"}};
    for (const QStringList &run : runs) {
        QProcess program;
        program.setWorkingDirectory(dir.path());
        program.start(QStringLiteral(KORVANA_BIN_DIR "/korvana"), QStringList{"--screenshot", picture} + run);
        ASSERT_TRUE(program.waitForFinished(15000)) << run.join(' ').toStdString() << ": a dialog must not wait";
        EXPECT_EQ(program.exitCode(), 2) << run.join(' ').toStdString();
        EXPECT_NE(program.readAllStandardError().indexOf("nobody can answer"), -1) << run.join(' ').toStdString();
    }
}

TEST(KorvanaProgramTest, ScaledScreenGetsABoardDrawnForItsPixels)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("shot.png"));
    QProcess program;
    program.setWorkingDirectory(dir.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KORVANA_BIN_DIR "/korvana"), {QStringLiteral("--screenshot"), picture});
    ASSERT_TRUE(program.waitForFinished(30000)) << "korvana must be built";
    const QImage image(picture);
    ASSERT_EQ(image.width(), 2 * DesignedWidth);
    // A picture drawn at the designed size and stretched would repeat every pixel
    // twice; one drawn for the screen has edges (star points, axis letters) that
    // fall between the pairs.
    const int top = image.height() - 2 * 401 + 2 * 33;
    int splitPairs = 0;
    for (int y = top; y < top + 2 * 343; ++y)
        for (int x = 0; x + 1 < 2 * 351; x += 2)
            splitPairs += image.pixel(x, y) != image.pixel(x + 1, y);
    EXPECT_GT(splitPairs, 100);
    EXPECT_EQ(image.pixelColor(2 * 330, top + 2 * 330), QColor(228, 175, 14)) << "the board fills its box";
}

} // namespace
} // namespace korvana
