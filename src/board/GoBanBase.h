#pragma once
// GoBanBase: a square grid of move pointers. The moves are not owned.

#include "board/BanMove.h"
#include "board/Point.h"

#include <vector>

namespace korvana {

class GoBanBase {
public:
    /// Number of lines; 15.
    int size() const { return size_; }

    /// The move standing at (x, y); null when the point is empty or off the board.
    BanMove *moveAt(int x, int y) const
    {
        return x >= 0 && x < size_ && y >= 0 && y < size_ ? grid_[static_cast<size_t>(x + size_ * y)] : nullptr;
    }
    /// '*' off the board, '+' when empty, else the colour of the stone.
    char cellAt(int x, int y) const
    {
        if (x < 0 || x >= size_ || y < 0 || y >= size_)
            return OffBoard;
        const BanMove *m = grid_[static_cast<size_t>(x + size_ * y)];
        return m ? m->colour() : Empty;
    }

protected:
    GoBanBase() = default;
    ~GoBanBase() = default;

    /// Empties the grid and sets its size.
    void resetGrid(int size)
    {
        size_ = size;
        grid_.assign(static_cast<size_t>(size * size), nullptr);
    }
    void setMove(int x, int y, BanMove *move) { grid_[static_cast<size_t>(x + size_ * y)] = move; }

private:
    std::vector<BanMove *> grid_; ///< not owned
    int size_ = 0;
};

} // namespace korvana
