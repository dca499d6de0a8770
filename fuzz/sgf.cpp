// SGF reader on any bytes. A record that reads must write, read back to the same tree,
// and write the same text again.

#include "record/MOveTree.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace korvana;

namespace {

void describe(const MOve *node, std::string &out)
{
    out += '(';
    for (const MOve *kid : node->children()) {
        out += kid->colour();
        out += kid->xLetter();
        out += kid->yLetter();
        out += std::to_string(kid->GetValue());
        describe(kid, out);
    }
    out += ')';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    MOveTree tree;
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    tree.ReadSgf(in);
    if (tree.current() != tree.root() || tree.board().moveCount() != 0)
        std::abort();

    std::ostringstream written;
    tree.WriteSgf(written);
    std::string shape;
    describe(tree.root(), shape);

    MOveTree again;
    std::istringstream back(written.str());
    if (!again.ReadSgf(back))
        std::abort();
    std::string shapeAgain;
    describe(again.root(), shapeAgain);
    std::ostringstream rewritten;
    again.WriteSgf(rewritten);
    if (shape != shapeAgain || written.str() != rewritten.str())
        std::abort();
    return 0;
}
