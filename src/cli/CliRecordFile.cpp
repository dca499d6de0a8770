#include "cli/CliRecordFile.h"

#include "log/BoundedFileReader.h"
#include "record/MOveTree.h"

namespace korvana {

bool readableFile(const std::string &path, std::string &why)
{
    BoundedFileReader reader;
    std::string bytes;
    const bool ok = reader.read(path, BoundedFileReader::RecordLimit, bytes);
    why = reader.reason();
    return ok;
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
