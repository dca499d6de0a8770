#include "board/BanMove.h"

namespace korvana {

std::vector<MovedPos> BanMove::codeList(CodeList which) const
{
    const bool black = which == CodeList::BlackBefore || which == CodeList::BlackAfter;
    const bool after = which == CodeList::BlackAfter || which == CodeList::WhiteAfter;
    const CodeRecord *r = black ? blackRecords() : whiteRecords();
    const int n = black ? blackCount_ : whiteCount_;
    std::vector<MovedPos> list;
    list.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        list.push_back(MovedPos{static_cast<uint8_t>(pointX(r[i].point)), static_cast<uint8_t>(pointY(r[i].point)),
                                black ? Black : White, after ? r[i].after : r[i].before});
    return list;
}

} // namespace korvana
