// The board picture, sampled at pixels: board colour, grid, star points, stones,
// numbers, the latest-move mark, warnings, overlays, candidates and opening marks.

#include "view/BoardView.h"

#include "record/MOveTree.h"
#include "settings/KvParam.h"
#include "support/qt/ModalWatchdog.h"

#include <QFontInfo>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <utility>
#include <vector>

/// Readable colours in failure messages.
void PrintTo(const QColor &colour, std::ostream *out)
{
    *out << "rgb(" << colour.red() << ", " << colour.green() << ", " << colour.blue() << ")";
}

namespace korvana {
namespace {

const QColor DefaultBoard(228, 175, 14);

/// A pixel inside the disc of (x, y) but clear of its number.
QPoint discPixel(int x, int y) { return BoardView::pointCentre(x, y) + QPoint(-6, -6); }
/// Near the top-left corner of a cell: on a latest-move square, outside a disc.
QPoint cornerPixel(int x, int y) { return {32 + 20 * x, 32 + 20 * y}; }

/// Text pixels of a colour (black or white, antialiased) in the box where a cell's number is written.
int pixelsInNumberBox(const QImage &image, int x, int y, QColor colour)
{
    const bool dark = colour.lightness() < 128;
    int n = 0;
    for (int py = 36 + 20 * y; py < 48 + 20 * y; ++py)
        for (int px = 36 + 20 * x; px < 46 + 20 * x; ++px) {
            const int l = image.pixelColor(px, py).lightness();
            n += dark ? l < 96 : l > 160;
        }
    return n;
}

int pixelsOfColour(const QImage &image, QColor colour)
{
    int n = 0;
    for (int py = 0; py < image.height(); ++py)
        for (int px = 0; px < image.width(); ++px)
            n += image.pixelColor(px, py) == colour;
    return n;
}

class BoardViewTest : public ::testing::Test {
protected:
    void play(std::initializer_list<std::pair<int, int>> moves)
    {
        for (auto [x, y] : moves)
            ASSERT_NE(tree.AddMoveAlternating(x, y), nullptr) << x << "," << y;
    }
    const QImage &draw(const BoardOverlay &overlay = {})
    {
        view.paint(tree, overlay);
        return view.bitmap();
    }
    QColor at(QPoint p) const { return view.bitmap().pixelColor(p); }

    testing::ModalWatchdog watchdog;
    KvParam settings;
    MOveTree tree;
    BoardView view{settings};
};

TEST_F(BoardViewTest, FontsResolveToDejaVuSans)
{
    for (int points : {6, 7, 9, 10}) {
        const QFontInfo info(BoardView::fontOfSize(points));
        EXPECT_FALSE(info.family().isEmpty());
        EXPECT_TRUE(info.family().contains(QStringLiteral("DejaVu"))) << info.family().toStdString();
    }
}

TEST_F(BoardViewTest, PictureHasTheFixedSize) { EXPECT_EQ(view.bitmap().size(), QSize(352, 362)); }

TEST_F(BoardViewTest, BoardColourComesFromTheSettingAsBgr)
{
    struct Case {
        int setting;
        QColor colour;
    };
    const Case cases[] = {
        {962532, DefaultBoard},
        {0x0000ff, QColor(255, 0, 0)},
        {0xff0000, QColor(0, 0, 255)},
        {0x102030, QColor(0x30, 0x20, 0x10)},
    };
    for (const Case &c : cases) {
        settings.SetInt("Option", "BoardColor", c.setting);
        draw();
        EXPECT_EQ(at({50, 50}), c.colour) << c.setting;
        EXPECT_EQ(at({330, 330}), c.colour) << c.setting; // inside the rectangle, outside the grid
    }
}

TEST_F(BoardViewTest, GridStarPointsAndOutline)
{
    draw();
    const QColor black(Qt::black);
    // Lines at 40 + 20k from 40 to 320, on whole pixels.
    for (int k = 0; k < 15; ++k) {
        EXPECT_EQ(at({40 + 20 * k, 50}), black) << k;
        EXPECT_EQ(at({50, 40 + 20 * k}), black) << k;
        EXPECT_EQ(at({41 + 20 * k, 51}), DefaultBoard) << k; // no blur beside a line
    }
    EXPECT_EQ(at({320, 320}), black);
    EXPECT_EQ(at({325, 320}), DefaultBoard); // lines end at 320
    // Board rectangle outline (20, 20)-(340, 340).
    EXPECT_EQ(at({20, 100}), black);
    EXPECT_EQ(at({339, 100}), black);
    EXPECT_EQ(at({100, 339}), black);
    EXPECT_EQ(at({340, 100}), BoardView::buttonFace());
    EXPECT_EQ(at({15, 345}), BoardView::buttonFace());
    // Star points: 6 pixels across around the five points; none elsewhere.
    for (auto [x, y] : {std::pair{7, 7}, {3, 3}, {11, 3}, {3, 11}, {11, 11}}) {
        const QPoint c = BoardView::pointCentre(x, y);
        EXPECT_EQ(at(c + QPoint(1, 1)), black) << x << "," << y;
        EXPECT_EQ(at(c + QPoint(-1, 2)), black) << x << "," << y;
        EXPECT_EQ(at(c + QPoint(5, 5)), DefaultBoard) << x << "," << y;
    }
    EXPECT_EQ(at(BoardView::pointCentre(5, 5) + QPoint(1, 1)), DefaultBoard);
}

TEST_F(BoardViewTest, AxisCharactersFollowTheirSetting)
{
    auto darkInAxisBands = [this] {
        int n = 0;
        for (int px = 30; px < 340; ++px)
            for (int py = 4; py < 20; ++py)
                n += at({px, py}).lightness() < 100;
        for (int py = 30; py < 340; ++py)
            for (int px = 4; px < 20; ++px)
                n += at({px, py}).lightness() < 100;
        return n;
    };
    draw();
    EXPECT_GT(darkInAxisBands(), 100);
    settings.SetInt("System", "ViewAxisCharacter", 0);
    draw();
    EXPECT_EQ(darkInAxisBands(), 0);
}

TEST_F(BoardViewTest, BlackAndWhiteStonesWithTheirNumbers)
{
    play({{7, 7}, {8, 7}});
    const QImage &image = draw();
    EXPECT_EQ(at(discPixel(7, 7)), QColor(Qt::black));
    EXPECT_EQ(at(discPixel(8, 7)), QColor(Qt::white));
    // Black's number in white, White's in black.
    EXPECT_GT(pixelsInNumberBox(image, 7, 7, Qt::white), 3);
    EXPECT_GT(pixelsInNumberBox(image, 8, 7, Qt::black), 3);

    settings.SetInt("System", "ViewBoardNumbering", 0);
    draw();
    EXPECT_EQ(pixelsInNumberBox(view.bitmap(), 7, 7, Qt::white), 0);
    EXPECT_EQ(pixelsInNumberBox(view.bitmap(), 8, 7, Qt::black), 0);
}

TEST_F(BoardViewTest, LatestMoveIsARoundedSquareOnlyWhenSwitchedOn)
{
    play({{7, 7}, {8, 7}});
    settings.SetInt("System", "ViewLatestMove", 1);
    draw();
    EXPECT_NE(at(cornerPixel(8, 7)), DefaultBoard) << "latest stone is a square";
    EXPECT_EQ(at(cornerPixel(7, 7)), DefaultBoard) << "earlier stone is a disc";

    settings.SetInt("System", "ViewLatestMove", 0);
    draw();
    EXPECT_EQ(at(cornerPixel(8, 7)), DefaultBoard);
}

TEST_F(BoardViewTest, TheTwoHundredTwentyFifthMoveHasNoNumber)
{
    // Fill the board; the tree does not stop at a five.
    for (int p = 0; p < PointCount; ++p)
        ASSERT_NE(tree.AddMoveAlternating(pointX(p), pointY(p)), nullptr);
    const QImage &image = draw();
    EXPECT_EQ(pixelsInNumberBox(image, 14, 14, Qt::white), 0) << "move 225";
    EXPECT_GT(pixelsInNumberBox(image, 13, 14, Qt::black), 3) << "move 224 (White) shows 224";
}

TEST_F(BoardViewTest, WarningsMarkTheLastMoversThreats)
{
    // Black four on row 7 (columns 3..6); White far away.
    play({{3, 7}, {0, 0}, {4, 7}, {0, 2}, {5, 7}, {0, 4}, {6, 7}});
    const QColor red(255, 0, 0);
    draw();
    EXPECT_EQ(pixelsOfColour(view.bitmap(), red), 0) << "warnings off";

    settings.SetInt("System", "ViewWarning", 1);
    draw();
    EXPECT_EQ(at(discPixel(7, 7)), red) << "five at h8";
    EXPECT_EQ(at(discPixel(2, 7)), red) << "five at c8";
    EXPECT_EQ(at(discPixel(9, 9)), DefaultBoard);
    EXPECT_EQ(at(discPixel(6, 7)), QColor(Qt::black)) << "stones are not covered";
}

TEST_F(BoardViewTest, OverlayCellsShadedByValue)
{
    play({{7, 7}, {3, 3}, {8, 7}, {3, 4}, {7, 8}});
    struct Case {
        int mode;
        char colour;
    };
    for (const Case c : {Case{2, Black}, Case{3, White}, Case{4, Black}}) {
        BoardOverlay overlay;
        overlay.mode = c.mode;
        draw(overlay);
        int shaded = 0;
        for (int p = 0; p < PointCount; ++p) {
            const int x = pointX(p), y = pointY(p);
            if (tree.board().banArray().cell(p) != Empty)
                continue;
            const int v = tree.board().valueAt(Pos{static_cast<uint8_t>(x), static_cast<uint8_t>(y), c.colour});
            const QColor got = at({31 + 20 * x, 31 + 20 * y});
            if (v == 0) {
                EXPECT_EQ(got, DefaultBoard) << c.mode << " at " << p;
                continue;
            }
            static constexpr int shades[8] = {255, 255, 223, 223, 159, 159, 127, 127};
            const int shade = shades[std::clamp(v, 0, 7)];
            EXPECT_EQ(got, c.colour == Black ? QColor(0, 0, shade) : QColor(shade, 0, 0))
                << "mode " << c.mode << " point " << p << " value " << v;
            ++shaded;
        }
        EXPECT_GT(shaded, 10) << c.mode;
    }
    // Line density: the lists stay empty, so every empty point shows 1 on the brightest green.
    BoardOverlay density;
    density.mode = 1;
    draw(density);
    EXPECT_EQ(at({31 + 20 * 12, 31 + 20 * 12}), QColor(0, 255, 0));
    EXPECT_EQ(at(discPixel(7, 7)), QColor(Qt::black));
}

TEST_F(BoardViewTest, CandidatesAreLetteredGreenDiscs)
{
    play({{7, 7}});
    draw();
    view.drawCandidates({}, {pointOf(8, 8), pointOf(6, 6)}, false);
    const QImage &image = view.bitmap();
    EXPECT_EQ(at(discPixel(8, 8)), QColor(0, 255, 0));
    EXPECT_EQ(at(discPixel(6, 6)), QColor(0, 255, 0));
    EXPECT_GT(pixelsInNumberBox(image, 8, 8, Qt::black), 3) << "letter A";
    EXPECT_EQ(at(discPixel(7, 7)), QColor(Qt::black)) << "drawn over the current picture";

    view.drawCandidates({pointOf(0, 0)}, {pointOf(8, 8)}, true);
    EXPECT_EQ(at(discPixel(7, 7)), DefaultBoard) << "redraw starts from an empty board";
    EXPECT_EQ(at(discPixel(0, 0)), QColor(Qt::black));
}

TEST_F(BoardViewTest, OpeningProposalsOnlyUnderWc1998)
{
    BoardOverlay overlay;
    overlay.openingStep = 2;
    overlay.proposalA = Pos{4, 4, Black};
    overlay.proposalB = Pos{10, 10, Black};
    draw(overlay);
    EXPECT_EQ(at(discPixel(4, 4)), DefaultBoard) << "Renju shows no proposals";

    settings.SetInt("Option", "GameRule", 2);
    draw(overlay);
    EXPECT_EQ(at(discPixel(4, 4)), QColor(Qt::black));
    EXPECT_EQ(at(discPixel(10, 10)), QColor(Qt::black));
    EXPECT_GT(pixelsInNumberBox(view.bitmap(), 4, 4, Qt::white), 3) << "letter A in white";

    overlay.openingStep = 1;
    draw(overlay);
    EXPECT_EQ(at(discPixel(10, 10)), DefaultBoard) << "step 1 shows A only";
}

TEST_F(BoardViewTest, TreeChildrenAreYellowDiscs)
{
    play({{7, 7}, {8, 8}});
    ASSERT_EQ(tree.Back(), 1);
    BoardOverlay overlay;
    draw(overlay);
    EXPECT_EQ(at(discPixel(8, 8)), DefaultBoard);
    overlay.viewTree = true;
    draw(overlay);
    EXPECT_EQ(at(discPixel(8, 8)), QColor(255, 255, 0));
}

TEST_F(BoardViewTest, ForbiddenPointsAreCrossedWhenBlackIsToMove)
{
    // Black twos on row 7 and column 7 cross at h8: a double three there.
    play({{5, 7}, {0, 0}, {6, 7}, {0, 2}, {7, 5}, {0, 4}, {7, 6}, {0, 6}});
    const QPoint h8 = BoardView::pointCentre(7, 7);
    auto crossed = [&] { return at(h8).red() > 150 && at(h8).green() < 100; };
    draw();
    EXPECT_FALSE(crossed()) << "off by default";
    settings.SetInt("System", "ViewForbiddenPoints", 1);
    draw();
    EXPECT_TRUE(crossed());
    EXPECT_FALSE(at(BoardView::pointCentre(9, 9)).red() > 150 && at(BoardView::pointCentre(9, 9)).green() < 100);
    play({{14, 14}});
    draw();
    EXPECT_FALSE(crossed()) << "White to move";
}

TEST_F(BoardViewTest, GhostLineAndAnalysisMarks)
{
    play({{7, 7}, {8, 8}});
    BoardOverlay overlay;
    overlay.ghostLine = {pointOf(10, 10), pointOf(11, 11), pointOf(7, 7)}; // the last is taken
    overlay.analysisMarks = {pointOf(3, 3), pointOf(8, 8)};
    draw(overlay);
    // Black moves first here: a darkened board, then a lightened one, each numbered.
    const QColor black = at(discPixel(10, 10)), white = at(discPixel(11, 11));
    EXPECT_LT(black.lightness(), DefaultBoard.lightness() - 40);
    EXPECT_NE(black, QColor(Qt::black)) << "ghosts are see-through";
    EXPECT_GT(white.lightness(), DefaultBoard.lightness() + 20);
    EXPECT_GT(pixelsInNumberBox(view.bitmap(), 10, 10, Qt::white), 3);
    EXPECT_GT(pixelsInNumberBox(view.bitmap(), 11, 11, Qt::black), 3);
    EXPECT_EQ(at(discPixel(7, 7)), QColor(Qt::black)) << "played stones stay";
    EXPECT_EQ(at(discPixel(3, 3)), QColor(120, 180, 255));
    EXPECT_GT(pixelsInNumberBox(view.bitmap(), 3, 3, Qt::black), 3) << "letter A";
    EXPECT_EQ(at(discPixel(8, 8)), QColor(Qt::white)) << "no mark on a stone";
}

TEST_F(BoardViewTest, BackToTheDesignedBoxTheSamePictureAsNeverResized)
{
    play({{7, 7}, {8, 7}, {3, 3}});
    settings.SetInt("System", "ViewWarning", 1);
    const QImage designed = draw();
    view.setBoxSize({1000, 900});
    draw();
    view.setBoxSize({BoardView::BoxWidth, BoardView::BoxHeight});
    EXPECT_TRUE(draw() == designed);
}

/// A larger box (a grown window, a HiDPI screen): whole pixels per cell, board centred,
/// stones where clicks find them, grid lines sharp.
TEST_F(BoardViewTest, ScaledBoxesDrawAndMapAlike)
{
    struct Case {
        QSize box;
        int cell;
        QPoint origin;
    };
    const Case cases[] = {
        {{702, 686}, 40, {0, 0}},    // the designed box at twice the pixels
        {{1000, 1000}, 56, {9, 20}}, // square: the width decides
        {{600, 343}, 20, {124, 0}},  // wide but no taller: the designed board, centred
    };
    play({{3, 11}, {12, 2}});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cell);
        view.setBoxSize(c.box);
        EXPECT_EQ(view.cell(), c.cell);
        EXPECT_EQ(view.origin(), c.origin);
        const QImage &image = draw();
        EXPECT_GE(image.width(), c.box.width());
        EXPECT_GE(image.height(), c.box.height());
        const double s = c.cell / 20.0;
        auto device = [&](double designed, int origin) { return origin + designed * s; };
        for (auto [x, y, colour] : {std::tuple{3, 11, QColor(Qt::black)}, {12, 2, QColor(Qt::white)}}) {
            const QPointF centre(device(40.5 + 20 * x, c.origin.x()), device(40.5 + 20 * y, c.origin.y()));
            EXPECT_EQ(image.pixelColor((centre + QPointF(-5 * s, -5 * s)).toPoint()), colour);
            EXPECT_EQ(view.pointAt(centre), QPoint(x, y));
            // Cell edges: just inside is the point, just outside the neighbour.
            const double left = device(30 + 20 * x, c.origin.x());
            EXPECT_EQ(view.pointAt({left + 0.5, centre.y()}).x(), x);
            EXPECT_EQ(view.pointAt({left - 0.5, centre.y()}).x(), x - 1);
        }
        // A grid line on whole pixels: black on it, board colour right beside it.
        const int line = static_cast<int>(device(40 + 20 * 5, c.origin.y()));
        const int column = static_cast<int>(device(50 + 20 * 5, c.origin.x()));
        const int width = std::max(1, c.cell / 20);
        EXPECT_EQ(image.pixelColor(column, line), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(column, line + width - 1), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(column, line + width), DefaultBoard);
        EXPECT_EQ(image.pixelColor(column, line - 1), DefaultBoard);
    }
}

TEST(BoardViewGeometry, MouseToPointTruncatesTowardZero)
{
    struct Case {
        QPoint pixel;
        QPoint point;
    };
    const Case cases[] = {
        {{12, 12}, {0, 0}}, {{5, 100}, {-1, 3}},  {{30, 30}, {0, 0}},     {{49, 49}, {0, 0}},
        {{50, 50}, {1, 1}}, {{180, 185}, {7, 7}}, {{329, 329}, {14, 14}}, {{330, 12}, {15, 0}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BoardView::pointFromMouse(c.pixel), c.point) << c.pixel.x() << "," << c.pixel.y();
}

} // namespace
} // namespace korvana
