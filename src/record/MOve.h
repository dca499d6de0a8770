#pragma once
// MOve: a node of the game tree: one stone (point, colour, the judge's code and the
// board's code records, from BanMove) with its value, comment and continuations.

#include "board/BanMove.h"
#include "board/Point.h"
#include "record/MOveBase.h"

#include <atomic>
#include <memory>
#include <vector>

namespace korvana {

class MOve : public MOveBase, public BanMove {
public:
    /// The root: the empty board (0, 0, 'B'), no point lists.
    MOve();
    /// A stone at (x, y) of colour 'B' or 'W'.
    MOve(int x, int y, char colour);
    ~MOve() override;

    char colourLetter() const override { return colour(); }
    char xLetter() const override { return static_cast<char>('a' + x()); }
    char yLetter() const override { return static_cast<char>('a' + y()); }

    /// Four point lists for other features (empty until someone fills them; none on the root).
    std::vector<PosList> &pointLists();

    /// MOve nodes constructed since the program started.
    static long long createdCount() { return created_.load(std::memory_order_relaxed); }
    /// MOve nodes alive now.
    static long long liveCount() { return live_.load(std::memory_order_relaxed); }

private:
    bool hasPoint_ = false;
    std::unique_ptr<std::vector<PosList>> pointLists_; ///< made on first use: nearly always unused

    static std::atomic<long long> created_;
    static std::atomic<long long> live_;
};

} // namespace korvana
