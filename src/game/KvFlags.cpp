#include "game/KvFlags.h"

namespace korvana {

KvFlags::KvFlags() { Reset(); }

KvFlags &KvFlags::instance()
{
    static KvFlags flags;
    return flags;
}

void KvFlags::Reset()
{
    playing = false;
    thinking = false;
    humanStartedWhite = false;
    computerIsBlack = true;
    pendingColumn = 'z';
    thinkingTimes.assign(TimeEntries, 0.0);
    overlayMode = 0;
    treeMarks = false;
}

} // namespace korvana
