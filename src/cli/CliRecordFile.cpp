#include "cli/CliRecordFile.h"

#include "record/MOveTree.h"

namespace korvana {

int loadMainLine(MOveTree &game, const std::string &path)
{
    int loaded;
    {
        QuietDiagnostics quiet;
        loaded = game.Load(path);
    }
    game.GotoRoot();
    while (game.Forward())
        ;
    return loaded;
}

} // namespace korvana
