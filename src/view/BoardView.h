#pragma once
// BoardView: draws the current position into one off-screen picture that the
// paint box copies in a single operation, so the window never shows a
// half-drawn board. Every draw reads the display settings afresh and redraws
// everything from the move tree; the picture and its size are the only state kept.
//
// All drawing is written in the designed geometry (20-pixel cells, picture
// 352 x 362); a larger paint box or a HiDPI screen scales it by a whole number
// of device pixels per cell, so grid lines stay on whole pixels.

#include "board/Point.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPoint>

#include <cstdint>
#include <vector>

namespace korvana {

class BanArray;
class KvParam;
class MOveTree;

/// What the information window and the opening protocol add to the picture.
struct BoardOverlay {
    /// 0 none, 1 line density, 2 Black values, 3 White values, 4 values of the current move's colour.
    int mode = 0;
    /// Shows the evaluated children of the current move.
    bool viewTree = false;
    /// Opening proposal step: 1 shows proposal A, 2 shows A and B (WC1998 only).
    int openingStep = 0;
    Pos proposalA; ///< first proposed fifth move
    Pos proposalB; ///< second proposed fifth move
    /// A forced win from the current position, side to move first: numbered ghost stones.
    std::vector<uint8_t> ghostLine;
    /// The analysis's best moves, best first: lettered marks A, B, C, ...
    std::vector<uint8_t> analysisMarks;
};

class BoardView {
public:
    /// Size of the off-screen picture at the designed size.
    static constexpr int BitmapWidth = 352;
    static constexpr int BitmapHeight = 362;
    /// Designed size of the paint box the picture is copied to.
    static constexpr int BoxWidth = 351;
    static constexpr int BoxHeight = 343;
    /// Cell size in pixels at the designed size.
    static constexpr int DesignCell = 20;

    /// Kinds of disc drawDisc knows.
    enum Kind { BlackStone = 0, WhiteStone = 1, CandidateDisc = 2, WarningDisc = 3, TreeChildDisc = 4 };

    /// Reads its display settings from `settings` at every draw; borrowed, must outlive the view.
    explicit BoardView(const KvParam &settings);

    // --- Drawing into the picture ----------------------------------------

    /// Background, board, grid, star points and (when switched on) the axis characters.
    void drawEmptyBoard();
    /// One disc at (x, y). ch == ' ' writes `number` (when numbering is on, 0..224 only);
    /// any other ch is written as one black character. Unknown kinds draw as warnings.
    void drawStone(int x, int y, int number, int kind, bool latest, char ch = ' ');
    /// A value inside the cell of (x, y): "INI", "MAX", "MIN" for the special values,
    /// nothing for 225, a negative value's absolute value in black, others in `colour`.
    void drawValue(int x, int y, int value, QColor colour);
    /// A small red cross on every empty point where Black may not play, when Black is to move.
    void drawForbiddenPoints(const BanArray &stones);
    /// Stones of a line not yet played: see-through, numbered from 1, `firstColour` first.
    void drawGhostLine(const std::vector<uint8_t> &line, const BanArray &stones, char firstColour);
    /// Lettered squares A, B, C, ... on the given points.
    void drawAnalysisMarks(const std::vector<uint8_t> &points, const BanArray &stones);
    /// The whole picture of the tree's current position.
    void drawPosition(const MOveTree &tree, const BoardOverlay &overlay);
    /// The two proposed fifth moves of the WC1998 opening, when the rule and step show them.
    void drawOpeningPoints(const BoardOverlay &overlay);
    /// drawPosition then drawOpeningPoints: what the paint box shows.
    void paint(const MOveTree &tree, const BoardOverlay &overlay);
    /// Database candidates lettered A, B, C, ... over the picture. With `redraw`, first an
    /// empty board and the record's stones (entry order, Black first, numbered from 1).
    void drawCandidates(const std::vector<uint8_t> &stones, const std::vector<uint8_t> &candidates, bool redraw);

    /// The picture, in device pixels.
    const QImage &bitmap() const { return bitmap_; }

    // --- Size --------------------------------------------------------------

    /// Makes the picture for a paint box of `box` device pixels: cells of the largest
    /// whole number of pixels (at least 20) that fits, the board centred in the box.
    /// The designed box (351 x 343) gives the designed picture. Clears the picture;
    /// draw again afterwards.
    void setBoxSize(QSize box);
    /// The box size the picture was made for.
    QSize boxSize() const { return box_; }
    /// Device pixels of one cell (20 at the designed size).
    int cell() const { return cell_; }
    /// Device pixel where the designed picture's (0, 0) lies.
    QPoint origin() const { return origin_; }
    /// Column and row under a device pixel of the box, by the designed formula after
    /// undoing the scale; may lie off the board.
    QPoint pointAt(QPointF devicePixel) const;

    // --- Geometry and colours --------------------------------------------

    /// Column and row of a mouse position in the paint box; may lie off the board.
    static QPoint pointFromMouse(QPoint pixel) { return {(pixel.x() - 30) / 20, (pixel.y() - 30) / 20}; }
    /// Pixel of the intersection (x, y).
    static QPoint pointCentre(int x, int y) { return {40 + 20 * x, 40 + 20 * y}; }
    /// The board colour the settings give now.
    QColor boardColour() const;
    /// The colour around the board.
    static QColor buttonFace();
    /// The view's font at a size in points (96 dpi pixels, so the picture does not depend on the screen).
    static QFont fontOfSize(int points);

private:
    /// Opens a painter on the picture unless an outer drawing call has one open.
    class PainterScope {
    public:
        explicit PainterScope(BoardView &view);
        ~PainterScope();
        PainterScope(const PainterScope &) = delete;
        PainterScope &operator=(const PainterScope &) = delete;
        QPainter &operator*() const { return *view_.painter_; }
        QPainter *operator->() const { return view_.painter_; }

    private:
        BoardView &view_;
        bool owner_ = false;
    };

    void drawNumber(int x, int y, int number, QColor colour);
    void drawCharacter(int px, int py, int points, char ch, QColor colour);

    const KvParam &settings_;
    QImage bitmap_;
    QSize box_{BoxWidth, BoxHeight};
    int cell_ = DesignCell;
    QPoint origin_;
    QFont font10_, font9_, font7_, font6_;
    QPainter *painter_ = nullptr; ///< open while a drawing call runs
};

} // namespace korvana
