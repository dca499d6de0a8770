#pragma once
// ADataHashElement: one chain entry of the position index.

#include <cstdint>

namespace korvana {

class AData;

/// A record's key and the record, which the index owns.
struct ADataHashElement {
    int32_t key = 0;
    AData *data = nullptr;
};

} // namespace korvana
