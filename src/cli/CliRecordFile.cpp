#include "cli/CliRecordFile.h"

#include "record/MOveTree.h"

#include <fstream>

namespace korvana {

bool readableFile(const std::string &path)
{
    return std::ifstream(path, std::ios::binary).is_open();
}

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
