#pragma once
// PbrainEngine: the engine behind a Gomocup session.

#include <cstdint>
#include <vector>

namespace korvana::pbrain {

class PbrainEngine {
public:
    virtual ~PbrainEngine() = default;
    /// Move for the side to move after `moves` (point codes, Black first,
    /// colours alternating), within about `timeMs`: a point 0..224, or -1.
    virtual int think(const std::vector<uint8_t> &moves, int timeMs) = 0;
    /// Memory the engine may use, in bytes (0: no limit given).
    virtual void setMemoryLimit(uint64_t /*bytes*/) {}
    /// Name and version for ABOUT.
    virtual const char *about() const = 0;
};

} // namespace korvana::pbrain
