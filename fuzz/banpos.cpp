// Format detection and the .ban/.pos readers on any bytes, then saving what was read
// in both formats: the saved line must read back to the same moves.

#include "record/MOveTree.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace korvana;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    std::istringstream in(bytes);
    const MOveTree::RecordFormat format = MOveTree::DetectFormat(in);
    if (format == MOveTree::FormatSgf)
        return 0; // the SGF reader has its own target
    MOveTree tree;
    tree.AddMove(7, 7, 'B');
    std::istringstream again(bytes);
    const int loaded = tree.LoadFrom(again);
    // Only a Gomocup record of another board size is recognised and still refused.
    if (loaded != (format == MOveTree::FormatUnknown ? 0 : 1) && format != MOveTree::FormatPsq)
        std::abort();
    if ((loaded == 1) != tree.loadError().empty())
        std::abort();
    if (!loaded)
        return 0;
    const BanHistory line = tree.board().history();
    for (auto out : {MOveTree::FormatBan, MOveTree::FormatPos}) {
        const std::string text = tree.RecordText(out);
        if (tree.board().history().moves() != line.moves())
            std::abort();
        if (line.count() == 0)
            continue; // an empty .ban file is no record
        // Recognition goes by content: .pos bytes can read as numbers or contain "GM".
        std::istringstream probe(text);
        if (MOveTree::DetectFormat(probe) != out)
            continue;
        MOveTree copy;
        std::istringstream saved(text);
        if (copy.LoadFrom(saved) != 1 || copy.board().history().moves() != line.moves())
            std::abort();
    }
    return 0;
}
