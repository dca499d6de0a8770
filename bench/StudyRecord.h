#pragma once
// A record as a studied game grows: a main line with variations branching off
// at every depth, about `nodes` nodes in all. Shared by the study benchmarks.

#include "record/MOveTree.h"

#include <random>
#include <vector>

namespace korvana::bench {

/// Grows `tree` to about `nodes` nodes; lines reach `maxDepth` moves. Leaves the
/// cursor at the root with every cursor on the main line.
inline void growStudyRecord(MOveTree &tree, int nodes, unsigned seed = 16, int maxDepth = 120)
{
    std::mt19937 rng(seed);
    const long long start = MOve::liveCount();
    while (MOve::liveCount() - start < nodes) {
        tree.GotoRoot();
        // Along known moves to a random depth, then a fresh line of moves near the stones.
        const int shared = static_cast<int>(rng() % static_cast<unsigned>(maxDepth));
        while (tree.depth() < shared && tree.current()->childCount() > 0) {
            const MOve *kid = tree.current()->child(static_cast<int>(rng() % tree.current()->childCount()));
            tree.AddMove(kid->x(), kid->y(), kid->colour());
        }
        const int fresh = 5 + static_cast<int>(rng() % 30);
        for (int i = 0; i < fresh && tree.depth() < maxDepth && MOve::liveCount() - start < nodes; ++i)
            for (int attempt = 0; attempt < 40; ++attempt)
                if (tree.AddMoveAlternating(static_cast<int>(rng() % 15), static_cast<int>(rng() % 15)))
                    break;
    }
    tree.Rewind();
}

/// Every node of the tree, depth first.
inline std::vector<MOve *> allNodes(const MOveTree &tree)
{
    std::vector<MOve *> nodes, pending{tree.root()};
    while (!pending.empty()) {
        MOve *node = pending.back();
        pending.pop_back();
        nodes.push_back(node);
        pending.insert(pending.end(), node->children().begin(), node->children().end());
    }
    return nodes;
}

} // namespace korvana::bench
