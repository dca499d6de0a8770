#pragma once
// Helpers for the record-file tests: a tree as a short text, trees built from such
// texts, and random trees with variations.

#include "record/MOveTree.h"

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace korvana::test {

/// One node: colour and SGF letters ("Bhh"), ":value" when it has one. A single child
/// follows after a blank; several go in brackets separated by " | ".
inline void describeChildren(const MOve *node, std::string &out)
{
    const auto &kids = node->children();
    if (kids.size() == 1) {
        if (node->parent())
            out += ' ';
    } else if (kids.size() > 1) {
        if (node->parent())
            out += ' ';
        out += '[';
    }
    for (size_t i = 0; i < kids.size(); ++i) {
        const MOve *kid = kids[i];
        if (i > 0)
            out += " | ";
        out += kid->colour();
        out += kid->xLetter();
        out += kid->yLetter();
        if (kid->GetValue() != NoValue)
            out += ':' + std::to_string(kid->GetValue());
        describeChildren(kid, out);
    }
    if (kids.size() > 1)
        out += ']';
}

inline std::string describe(const MOveTree &tree)
{
    std::string out;
    describeChildren(tree.root(), out);
    return out;
}

inline bool readSgfText(MOveTree &tree, const std::string &text)
{
    std::istringstream in(text);
    return tree.ReadSgf(in);
}

inline std::string writeSgfText(MOveTree &tree)
{
    std::ostringstream out;
    tree.WriteSgf(out);
    return out.str();
}

/// A random tree: lines of play with variations, moves alternating from Black, some
/// values set. Grows until it has about `nodes` nodes; leaves the cursor at the root.
inline void growRandomTree(MOveTree &tree, int nodes, unsigned seed, int maxDepth = 40)
{
    std::mt19937 rng(seed);
    int made = 0;
    while (made < nodes) {
        tree.GotoRoot();
        // Follow existing moves for a while, then branch off with new ones.
        const int shared = static_cast<int>(rng() % static_cast<unsigned>(maxDepth));
        for (int d = 0; d < shared && tree.current()->childCount() > 0; ++d) {
            const MOve *kid = tree.current()->child(static_cast<int>(rng() % tree.current()->childCount()));
            tree.AddMove(kid->x(), kid->y(), kid->colour());
        }
        const int fresh = 1 + static_cast<int>(rng() % 12);
        for (int d = 0; d < fresh && tree.depth() < maxDepth && made < nodes; ++d) {
            const int before = tree.current()->childCount();
            for (int attempt = 0; attempt < 50; ++attempt) {
                MOve *m = tree.AddMoveAlternating(static_cast<int>(rng() % 15), static_cast<int>(rng() % 15));
                if (!m)
                    continue;
                if (tree.current()->parent()->childCount() > before) {
                    ++made;
                    if (rng() % 4 == 0)
                        tree.SetValue(static_cast<int32_t>(rng() % 2001) - 1000);
                }
                break;
            }
        }
    }
    tree.Rewind();
}

} // namespace korvana::test
