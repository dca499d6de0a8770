// Gomocup records on any bytes, read as they are and behind a 15x15 header: reading
// never fails behind the header, and the moves read save as .pos and read back the same.

#include "record/MOveTree.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace korvana;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    {
        std::istringstream in(bytes);
        MOveTree tree;
        if (!tree.LoadFrom(in) && tree.loadError().empty())
            std::abort();
    }
    if (bytes.find("GM") != std::string::npos)
        return 0; // read as SGF, whatever comes first
    std::istringstream in("Piskvorky 15x15, 11:11, 0\r\n" + bytes);
    if (MOveTree::DetectFormat(in) != MOveTree::FormatPsq)
        std::abort();
    MOveTree tree;
    tree.AddMove(0, 0, 'B');
    if (tree.LoadFrom(in) != 1 || !tree.loadError().empty())
        std::abort();
    const BanHistory line = tree.board().history();
    std::istringstream saved(tree.RecordText(MOveTree::FormatPos));
    MOveTree copy;
    if (line.count() > 0 && (copy.LoadFrom(saved) != 1 || copy.board().history().moves() != line.moves()))
        std::abort();
    return 0;
}
