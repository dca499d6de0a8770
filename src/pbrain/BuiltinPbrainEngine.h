#pragma once
// BuiltinPbrainEngine: the program's built-in search at level 1 (no opening
// book), so that it can play matches against Gomocup engines.

#include "pbrain/PbrainEngine.h"

namespace korvana::pbrain {

class BuiltinPbrainEngine : public PbrainEngine {
public:
    /// The built-in search has no time control of its own: timeMs is ignored.
    int think(const std::vector<uint8_t> &moves, int timeMs) override;
    const char *about() const override;
    /// Its search has no move to give before it ends (at a fixed depth).
    bool stoppable() const override { return false; }
};

} // namespace korvana::pbrain
