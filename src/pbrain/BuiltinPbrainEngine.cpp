#include "pbrain/BuiltinPbrainEngine.h"

#include "board/BanArray.h"
#include "engine/PhaseIter.h"
#include "engine/ThinkingLevel.h"

#include <memory>

namespace korvana::pbrain {

int BuiltinPbrainEngine::think(const std::vector<uint8_t> &moves, int /*timeMs*/)
{
    BanArray board;
    for (uint8_t m : moves)
        if (m >= PointCount || !board.putStone(m))
            return -1;
    setThinkStopFlag(nullptr);
    const ThinkingLevel &level = ThinkingLevel::preset(1);
    PhaseIter iter(std::make_unique<Phase>(board), level, level.depth, level.hashSize, std::string());
    iter.setBookLookup(nullptr);
    const int point = iter.Think();
    return point < PointCount ? point : -1;
}

const char *BuiltinPbrainEngine::about() const
{
    return "name=\"Korvana built-in\", version=\"1.0\", author=\"Korvana\", country=\"JP\"";
}

} // namespace korvana::pbrain
