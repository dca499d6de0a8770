#include "game/KvFlags.h"

namespace korvana {

KvFlags::KvFlags()
{
    Reset();
}

KvFlags &KvFlags::instance()
{
    static KvFlags flags;
    return flags;
}

void KvFlags::Reset()
{
    playing = 0;
    thinking = 0;
    humanStartedWhite = 0;
    computerIsBlack = 1;
    pendingColumn = 'z';
    thinkingTimes.assign(TimeEntries, 0.0);
    overlayMode = 0;
    treeMarks = 0;
}

} // namespace korvana
