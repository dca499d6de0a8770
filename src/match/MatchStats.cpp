#include "match/MatchStats.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace korvana::match {

void MatchStats::add(int outcome)
{
    if (outcome > 0)
        ++wins_;
    else if (outcome < 0)
        ++losses_;
    else
        ++draws_;
}

double MatchStats::score() const { return games() ? (wins_ + 0.5 * draws_) / games() : 0.0; }

double MatchStats::eloOf(double p) { return -400.0 * std::log10(1.0 / p - 1.0); }

double MatchStats::elo() const
{
    const double p = score();
    if (games() == 0)
        return 0.0;
    if (p >= 1.0)
        return std::numeric_limits<double>::infinity();
    if (p <= 0.0)
        return -std::numeric_limits<double>::infinity();
    return eloOf(p);
}

double MatchStats::eloMargin() const
{
    const int n = games();
    const double p = score();
    if (n < 2 || p <= 0.0 || p >= 1.0)
        return std::numeric_limits<double>::infinity();
    const double var = (wins_ * (1 - p) * (1 - p) + draws_ * (0.5 - p) * (0.5 - p) + losses_ * p * p) / n;
    const double sd = std::sqrt(var / n);
    // Scores beyond half a game from a sweep would give unbounded Elo.
    const double edge = 0.5 / n;
    const double lo = std::max(p - 1.96 * sd, edge), hi = std::min(p + 1.96 * sd, 1 - edge);
    return (eloOf(hi) - eloOf(lo)) / 2;
}

std::string MatchStats::summary() const
{
    char text[200];
    const double e = elo(), m = eloMargin();
    char eloText[64], marginText[64];
    if (std::isinf(e))
        std::snprintf(eloText, sizeof eloText, "%sinf", e > 0 ? "+" : "-");
    else
        std::snprintf(eloText, sizeof eloText, "%+.0f", e);
    if (std::isinf(m))
        std::snprintf(marginText, sizeof marginText, "inf");
    else
        std::snprintf(marginText, sizeof marginText, "%.0f", m);
    std::snprintf(text, sizeof text, "wins %d, draws %d, losses %d of %d games; score %.1f%%; Elo difference %s +/- %s",
                  wins_, draws_, losses_, games(), 100.0 * score(), eloText, marginText);
    return text;
}

} // namespace korvana::match
