#include "view/BoardView.h"

#include "board/ChkStat.h"
#include "board/PosStat.h"
#include "record/MOveTree.h"
#include "settings/KvParam.h"
#include "view/QtColour.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPalette>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace korvana {

namespace {

constexpr const char *ColumnLetters = "abcdefghijklmno";
constexpr const char *RowCharacters = "123456789ABCDEF";
constexpr int StarPoints[5][2] = {{7, 7}, {3, 3}, {11, 3}, {3, 11}, {11, 11}};
/// Overlay shades, brightest first; index = value clamped to 0..7.
constexpr int OverlayShades[8] = {255, 255, 223, 223, 159, 159, 127, 127};

constexpr int IniValue = -20000;
constexpr int MaxValue = 10000;
constexpr int MinValue = -10000;
constexpr int NoValuePoint = 225;

int overlayShade(int value) { return OverlayShades[std::clamp(value, 0, 7)]; }

} // namespace

BoardView::PainterScope::PainterScope(BoardView &view) : view_(view)
{
    if (!view_.painter_) {
        view_.painter_ = new QPainter(&view_.bitmap_);
        owner_ = true;
        // Callers draw in the designed geometry; the painter puts it where the box wants it.
        if (view_.cell_ != DesignCell || !view_.origin_.isNull()) {
            view_.painter_->translate(view_.origin_);
            const qreal scale = qreal(view_.cell_) / DesignCell;
            view_.painter_->scale(scale, scale);
        }
    }
}

BoardView::PainterScope::~PainterScope()
{
    if (owner_) {
        delete view_.painter_;
        view_.painter_ = nullptr;
    }
}

BoardView::BoardView(const KvParam &settings)
    : settings_(settings), bitmap_(BitmapWidth, BitmapHeight, QImage::Format_RGB32), font10_(fontOfSize(10)),
      font9_(fontOfSize(9)), font7_(fontOfSize(7)), font6_(fontOfSize(6))
{
    bitmap_.fill(buttonFace());
}

QFont BoardView::fontOfSize(int points)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize((points * 96 + 36) / 72);
    return font;
}

QColor BoardView::boardColour() const { return qtColour(StoredColour(settings_.get(Settings::BoardColor))); }

QColor BoardView::buttonFace() { return QGuiApplication::palette().color(QPalette::Active, QPalette::Button); }

void BoardView::setBoxSize(QSize box)
{
    box_ = box;
    // Whole pixels per cell keep every grid line on a whole pixel.
    cell_ = std::max(DesignCell, std::min(box.width() * DesignCell / BoxWidth, box.height() * DesignCell / BoxHeight));
    origin_ = QPoint(std::max(0, (box.width() - BoxWidth * cell_ / DesignCell) / 2),
                     std::max(0, (box.height() - BoxHeight * cell_ / DesignCell) / 2));
    // At least the designed picture scaled, and at least the box.
    const int width = std::max(box.width(), origin_.x() + (BitmapWidth * cell_ + DesignCell - 1) / DesignCell);
    const int height = std::max(box.height(), origin_.y() + (BitmapHeight * cell_ + DesignCell - 1) / DesignCell);
    if (bitmap_.size() != QSize(width, height))
        bitmap_ = QImage(width, height, QImage::Format_RGB32);
    bitmap_.fill(buttonFace());
}

QPoint BoardView::pointAt(QPointF devicePixel) const
{
    const QPointF designed = (devicePixel - QPointF(origin_)) * (qreal(DesignCell) / cell_);
    // The designed formula truncates toward zero, as integer division does.
    return {static_cast<int>(std::trunc((designed.x() - 30) / 20)),
            static_cast<int>(std::trunc((designed.y() - 30) / 20))};
}

void BoardView::drawEmptyBoard()
{
    PainterScope p(*this);
    p->setRenderHint(QPainter::Antialiasing, false);
    // The whole picture: a box larger than the board shows the same colour around it.
    p->save();
    p->resetTransform();
    p->fillRect(bitmap_.rect(), buttonFace());
    p->restore();
    // Rectangle (20, 20)-(340, 340): filled with the board colour, outlined in black.
    // Lines are as many whole device pixels wide as the scale allows.
    const int lineWidth = std::max(1, cell_ / DesignCell);
    QPen line(Qt::black, lineWidth);
    line.setCosmetic(true);
    p->setPen(line);
    // A wide line is centred on its coordinate; shifted, it starts there, like the
    // one-pixel line whose pixel centre is where the stones are centred.
    p->save();
    const qreal shift = qreal(lineWidth / 2) * DesignCell / cell_;
    p->translate(shift, shift);
    p->setBrush(boardColour());
    p->drawRect(20, 20, 319, 319);
    for (int k = 0; k < BoardSize; ++k) {
        const int at = 40 + 20 * k;
        p->drawLine(40, at, 320, at);
        p->drawLine(at, 40, at, 320);
    }
    p->restore();
    p->setRenderHint(QPainter::Antialiasing, true);
    p->setPen(Qt::NoPen);
    p->setBrush(Qt::black);
    for (const auto &star : StarPoints) {
        const QPoint c = pointCentre(star[0], star[1]);
        // Centred on the grid pixel, not on its corner.
        p->drawEllipse(QRectF(c.x() - 2.5, c.y() - 2.5, 6, 6));
    }
    if (settings_.get(Settings::ViewAxisCharacter)) {
        for (int k = 0; k < BoardSize; ++k) {
            drawCharacter(37 + 20 * k, 6, 10, ColumnLetters[k], Qt::black);
            drawCharacter(8, 35 + 20 * k, 10, RowCharacters[k], Qt::black);
        }
    }
}

void BoardView::drawStone(int x, int y, int number, int kind, bool latest, char ch)
{
    QColor fill = Qt::red;
    QColor text = Qt::black;
    switch (kind) {
    case BlackStone:
        fill = Qt::black;
        text = Qt::white;
        break;
    case WhiteStone: fill = Qt::white; break;
    case CandidateDisc: fill = QColor(0, 255, 0); break;
    case TreeChildDisc: fill = QColor(255, 255, 0); break;
    default: break;
    }
    PainterScope p(*this);
    p->setRenderHint(QPainter::Antialiasing, true);
    p->setPen(QPen(Qt::black, 1));
    p->setBrush(fill);
    if (latest && settings_.get(Settings::ViewLatestMove)) {
        // The cell's inner 18 x 18 square with small rounded corners: clearly not a disc.
        p->drawRoundedRect(QRectF(31.5 + 20 * x, 31.5 + 20 * y, 18, 18), 3.5, 3.5);
    } else {
        // A disc filling the cell square, centred on the grid pixel.
        p->drawEllipse(QRectF(31 + 20 * x, 31 + 20 * y, 19, 19));
    }
    if (ch == ' ') {
        // Move numbers go up to 224: the 225th move is drawn without one.
        if (number >= 0 && number <= 224 && settings_.get(Settings::ViewBoardNumbering))
            drawNumber(x, y, number, text);
    } else {
        drawCharacter(37 + 20 * x, 34 + 20 * y, 10, ch, Qt::black);
    }
}

void BoardView::drawCharacter(int px, int py, int points, char ch, QColor colour)
{
    PainterScope p(*this);
    const QFont &font = points >= 10 ? font10_ : points >= 9 ? font9_ : points >= 7 ? font7_ : font6_;
    p->setFont(font);
    p->setPen(colour);
    // Text is placed by its top-left corner; the painter wants the baseline.
    p->drawText(QPoint(px, py + QFontMetrics(font).ascent()), QString(QChar(ch)));
}

void BoardView::drawNumber(int x, int y, int number, QColor colour)
{
    if (number < 0)
        return;
    const int left = 20 * x;
    const int top = 34 + 20 * y;
    const std::string digits = std::to_string(number);
    switch (digits.size()) {
    case 1: drawCharacter(37 + left, top, 10, digits[0], colour); break;
    case 2:
        drawCharacter(35 + left, top, 9, digits[0], colour);
        drawCharacter(41 + left, top, 9, digits[1], colour);
        break;
    case 3:
        drawCharacter(33 + left, top, 7, digits[0], colour);
        drawCharacter(38 + left, top, 7, digits[1], colour);
        drawCharacter(43 + left, top, 7, digits[2], colour);
        break;
    default:
        // Values of a thousand and more: four narrow digits still fit the cell.
        for (size_t i = 0; i < std::min<size_t>(digits.size(), 4); ++i)
            drawCharacter(31 + left + static_cast<int>(9 * i / 2), top + 1, 6, digits[i], colour);
        break;
    }
}

void BoardView::drawValue(int x, int y, int value, QColor colour)
{
    const char *special = value == IniValue ? "INI" : value == MaxValue ? "MAX" : value == MinValue ? "MIN" : nullptr;
    if (special) {
        PainterScope p(*this);
        p->setFont(font7_);
        p->setPen(value == MaxValue ? colour : QColor(Qt::black));
        p->drawText(QPoint(33 + 20 * x, 34 + 20 * y + QFontMetrics(font7_).ascent()), QString::fromLatin1(special));
        return;
    }
    if (value == NoValuePoint)
        return;
    if (value < 0)
        drawNumber(x, y, std::abs(value), Qt::black);
    else
        drawNumber(x, y, value, colour);
}

void BoardView::drawPosition(const MOveTree &tree, const BoardOverlay &overlay)
{
    PainterScope p(*this);
    const Board &board = tree.board();
    const BanHistory history = board.history();
    const BanArray &stones = board.banArray();
    drawEmptyBoard();

    if (overlay.mode >= 1 && overlay.mode <= 4) {
        char colour = overlay.mode == 2 ? Black : White;
        if (overlay.mode == 4)
            colour = tree.current() ? tree.current()->colour() : Black;
        p->setRenderHint(QPainter::Antialiasing, false);
        for (int point = 0; point < PointCount; ++point) {
            if (stones.cell(point) != Empty)
                continue;
            const int x = pointX(point), y = pointY(point);
            const int value = overlay.mode == 1
                                  ? board.lineDensity(point)
                                  : board.valueAt(Pos{static_cast<uint8_t>(x), static_cast<uint8_t>(y), colour});
            if (value == 0)
                continue;
            const int shade = overlayShade(value);
            const QColor cellColour = overlay.mode == 1 ? QColor(0, shade, 0)
                                      : colour == Black ? QColor(0, 0, shade)
                                                        : QColor(shade, 0, 0);
            p->fillRect(30 + 20 * x, 30 + 20 * y, 20, 20, cellColour);
            drawValue(x, y, value, Qt::white);
        }
    }

    const int count = history.count();
    for (int i = 0; i < count; ++i) {
        const MovedPos &move = history[i];
        drawStone(move.x, move.y, i + 1, i % 2, i == count - 1);
    }

    if (settings_.get(Settings::ViewWarning) && count >= 2) {
        // Points where the side that just moved threatens to win.
        const char mover = (count & 1) ? Black : White;
        BanArray scratch = stones;
        ChkStat judge(scratch);
        for (int point = 0; point < PointCount; ++point) {
            if (scratch.cell(point) != Empty)
                continue;
            if (isWarning(judge.judgeAt(point, mover)))
                drawStone(pointX(point), pointY(point), -1, WarningDisc, false);
        }
    }

    if (settings_.get(Settings::ViewForbiddenPoints) && count % 2 == 0)
        drawForbiddenPoints(stones);
    drawAnalysisMarks(overlay.analysisMarks, stones);
    drawGhostLine(overlay.ghostLine, stones, count % 2 == 0 ? Black : White);

    if (overlay.viewTree && count >= 1 && tree.current()) {
        for (const MOve *child : tree.current()->children()) {
            // The value is the disc's text; a move number under it would only blur it.
            drawStone(child->x(), child->y(), -1, TreeChildDisc, false);
            drawValue(child->x(), child->y(), child->GetValue(), Qt::black);
        }
    }
}

void BoardView::drawForbiddenPoints(const BanArray &stones)
{
    BanArray scratch = stones;
    ChkStat judge(scratch);
    PainterScope p(*this);
    p->setRenderHint(QPainter::Antialiasing, true);
    p->setPen(QPen(QColor(200, 0, 0), 2, Qt::SolidLine, Qt::RoundCap));
    for (int point = 0; point < PointCount; ++point) {
        if (scratch.cell(point) != Empty || !isForbidden(judge.judgeBlack(point)))
            continue;
        const QPointF c = QPointF(pointCentre(pointX(point), pointY(point))) + QPointF(0.5, 0.5);
        p->drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
        p->drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
    }
}

void BoardView::drawGhostLine(const std::vector<uint8_t> &line, const BanArray &stones, char firstColour)
{
    PainterScope p(*this);
    p->setRenderHint(QPainter::Antialiasing, true);
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] >= PointCount || stones.cell(line[i]) != Empty)
            continue;
        const bool black = (firstColour == Black) == (i % 2 == 0);
        const int x = pointX(line[i]), y = pointY(line[i]);
        // Half see-through, so the board shows that these are not played.
        p->setPen(QPen(QColor(0, 0, 0, 140), 1, Qt::DashLine));
        p->setBrush(black ? QColor(0, 0, 0, 120) : QColor(255, 255, 255, 170));
        p->drawEllipse(QRectF(31 + 20 * x, 31 + 20 * y, 19, 19));
        drawNumber(x, y, static_cast<int>(i) + 1, black ? Qt::white : QColor(Qt::black));
    }
}

void BoardView::drawAnalysisMarks(const std::vector<uint8_t> &points, const BanArray &stones)
{
    PainterScope p(*this);
    p->setRenderHint(QPainter::Antialiasing, true);
    for (size_t i = 0; i < points.size() && i < 26; ++i) {
        if (points[i] >= PointCount || stones.cell(points[i]) != Empty)
            continue;
        const int x = pointX(points[i]), y = pointY(points[i]);
        p->setPen(QPen(QColor(0, 60, 160), 1));
        p->setBrush(QColor(120, 180, 255));
        p->drawRoundedRect(QRectF(32.5 + 20 * x, 32.5 + 20 * y, 16, 16), 2, 2);
        drawCharacter(37 + 20 * x, 34 + 20 * y, 10, static_cast<char>('A' + i), Qt::black);
    }
}

void BoardView::drawOpeningPoints(const BoardOverlay &overlay)
{
    if (settings_.get(Settings::Rule) != GameRule::Wc1998 || (overlay.openingStep != 1 && overlay.openingStep != 2))
        return;
    PainterScope p(*this);
    auto mark = [&](const Pos &pos, char letter) {
        p->setRenderHint(QPainter::Antialiasing, true);
        p->setPen(QPen(Qt::black, 1));
        p->setBrush(Qt::black);
        p->drawEllipse(QRectF(31 + 20 * pos.x, 31 + 20 * pos.y, 19, 19));
        drawCharacter(37 + 20 * pos.x, 34 + 20 * pos.y, 10, letter, Qt::white);
    };
    mark(overlay.proposalA, 'A');
    if (overlay.openingStep == 2)
        mark(overlay.proposalB, 'B');
}

void BoardView::paint(const MOveTree &tree, const BoardOverlay &overlay)
{
    PainterScope p(*this);
    drawPosition(tree, overlay);
    drawOpeningPoints(overlay);
}

void BoardView::drawCandidates(const std::vector<uint8_t> &stones, const std::vector<uint8_t> &candidates, bool redraw)
{
    PainterScope p(*this);
    if (redraw) {
        drawEmptyBoard();
        for (size_t i = 0; i < stones.size(); ++i) {
            if (stones[i] < PointCount)
                drawStone(pointX(stones[i]), pointY(stones[i]), static_cast<int>(i) + 1, static_cast<int>(i % 2),
                          false);
        }
    }
    for (size_t i = 0; i < candidates.size() && i < 26; ++i) {
        if (candidates[i] < PointCount)
            drawStone(pointX(candidates[i]), pointY(candidates[i]), 0, CandidateDisc, false,
                      static_cast<char>('A' + i));
    }
}

} // namespace korvana
