#include "record/MOve.h"

namespace korvana {

std::atomic<long long> MOve::created_{0};
std::atomic<long long> MOve::live_{0};

MOve::MOve()
{
    created_.fetch_add(1, std::memory_order_relaxed);
    live_.fetch_add(1, std::memory_order_relaxed);
}

MOve::MOve(int x, int y, char colour) : BanMove(x, y, colour), hasPoint_(true)
{
    created_.fetch_add(1, std::memory_order_relaxed);
    live_.fetch_add(1, std::memory_order_relaxed);
}

MOve::~MOve() { live_.fetch_sub(1, std::memory_order_relaxed); }

std::vector<PosList> &MOve::pointLists()
{
    if (!pointLists_)
        pointLists_ = std::make_unique<std::vector<PosList>>(hasPoint_ ? 4 : 0);
    return *pointLists_;
}

} // namespace korvana
