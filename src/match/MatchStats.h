#pragma once
// MatchStats: the tally of a match from the first engine's side, its score
// and the Elo difference with a 95% error margin.

#include <string>

namespace korvana::match {

class MatchStats {
public:
    /// One game from the first engine's side: 1 win, 0 draw, -1 loss.
    void add(int outcome);

    int wins() const { return wins_; }
    int draws() const { return draws_; }
    int losses() const { return losses_; }
    int games() const { return wins_ + draws_ + losses_; }
    /// Points (win 1, draw 1/2) over games, 0..1; 0 without games.
    double score() const;
    /// Elo difference implied by score(); +-infinity for a clean sweep.
    double elo() const;
    /// Half-width of the 95% interval of elo(), from the spread of the game results; infinity when undefined.
    double eloMargin() const;
    /// "W 95 D 2 L 7, score 92.3%, Elo +XXX +/- YY".
    std::string summary() const;

    /// Elo difference of a score fraction p (0 < p < 1).
    static double eloOf(double p);

private:
    int wins_ = 0, draws_ = 0, losses_ = 0;
};

} // namespace korvana::match
