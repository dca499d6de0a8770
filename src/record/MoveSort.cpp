#include "record/MoveSort.h"

#include <algorithm>

namespace korvana {

void sortMoves(std::vector<MOve *> &moves)
{
    std::vector<MoveSort> list;
    list.reserve(moves.size());
    for (MOve *m : moves)
        list.push_back(MoveSort{m, m->GetValue()});
    std::stable_sort(list.begin(), list.end(), [](const MoveSort &a, const MoveSort &b) { return a.value > b.value; });
    for (size_t i = 0; i < list.size(); ++i)
        moves[i] = list[i].move;
}

} // namespace korvana
