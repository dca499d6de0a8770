#include "kumo98/LinePattern.h"

#include <memory>

namespace korvana::kumo {

namespace {

constexpr uint32_t KeyCount = 1u << KeyBits;
constexpr uint8_t Unknown = 0xff;

class TableBuilder {
public:
    TableBuilder(int colour, uint8_t *table) : colour_(colour), own_(colour == 0 ? CellBlack : CellWhite), table_(table)
    {}

    uint8_t get(uint32_t key)
    {
        if (table_[key] == Unknown)
            table_[key] = compute(key);
        return table_[key];
    }

private:
    // Cells at steps -5..5 with the centre own: 1 own, 0 empty, 2 blocked.
    void decode(uint32_t key, uint8_t line[11]) const
    {
        for (int i = 0; i < 11; ++i) {
            if (i == 5) {
                line[i] = 1;
                continue;
            }
            const uint8_t c = (key >> keyShift(i - 5)) & 3;
            line[i] = c == own_ ? 1 : c == CellEmpty ? 0 : 2;
        }
    }

    static int runThroughCentre(const uint8_t line[11])
    {
        int run = 1;
        for (int i = 6; i < 11 && line[i] == 1; ++i)
            ++run;
        for (int i = 4; i >= 0 && line[i] == 1; --i)
            ++run;
        return run;
    }

    bool isFive(int run) const { return colour_ == 0 ? run == 5 : run >= 5; }

    uint8_t compute(uint32_t key)
    {
        uint8_t line[11];
        decode(key, line);
        const int run = runThroughCentre(line);
        if (isFive(run))
            return P_Five;
        if (run >= 6)
            return P_Overline;
        int fivePoints = 0;
        for (int i = 0; i < 11; ++i) {
            if (line[i] != 0)
                continue;
            line[i] = 1;
            fivePoints += isFive(runThroughCentre(line));
            line[i] = 0;
        }
        if (fivePoints >= 2)
            return P_F4;
        if (fivePoints == 1)
            return P_B4;
        bool seen[P_Count] = {};
        for (int i = 0; i < 11; ++i) {
            if (line[i] != 0)
                continue;
            seen[get(key | (uint32_t(own_) << keyShift(i - 5)))] = true;
        }
        if (seen[P_F4])
            return P_F3;
        if (seen[P_B4])
            return P_B3;
        if (seen[P_F3])
            return P_F2;
        if (seen[P_B3])
            return P_B2;
        if (seen[P_F2])
            return P_F1;
        if (seen[P_B2])
            return P_B1;
        return P_None;
    }

    int colour_;
    uint8_t own_;
    uint8_t *table_;
};

// One half of a key (the five cells on one side, `near` the shift of the cell next
// to the centre, `step` +2 or -2 outward) with the first cell that blocks `own` (the
// other colour or the edge) and every cell past it set to the edge. No run of `own`
// passes a blocked cell, so what lies beyond it never changes a shape: every key
// has the shape of the key made of its two blocked halves.
uint32_t blockedHalf(uint32_t key, uint8_t own, int near, int step)
{
    bool blocked = false;
    for (int i = 0, shift = near; i < 5; ++i, shift += step) {
        const uint32_t c = (key >> shift) & 3;
        blocked = blocked || (c != own && c != CellEmpty);
        if (blocked)
            key |= uint32_t(CellOff) << shift;
    }
    return key;
}

struct Tables {
    std::unique_ptr<uint8_t[]> table[2];
    std::unique_ptr<uint8_t[]> pair;
    Tables()
    {
        // Only the keys made of blocked halves are worked out (a few thousand per
        // colour); every other key copies the shape of its blocked form.
        for (int colour = 0; colour < 2; ++colour) {
            const uint8_t own = colour == 0 ? CellBlack : CellWhite;
            uint32_t low[1024], high[1024];
            for (uint32_t half = 0; half < 1024; ++half) {
                low[half] = blockedHalf(half, own, keyShift(-1), -2);
                high[half] = blockedHalf(half << 10, own, keyShift(1), 2);
            }
            table[colour].reset(new uint8_t[KeyCount]);
            std::fill_n(table[colour].get(), KeyCount, Unknown);
            TableBuilder builder(colour, table[colour].get());
            for (uint32_t key = 0; key < KeyCount; ++key)
                table[colour][key] = builder.get(low[key & 1023] | high[key >> 10]);
        }
        static_assert(P_Count <= 16);
        pair.reset(new uint8_t[KeyCount]);
        for (uint32_t key = 0; key < KeyCount; ++key)
            pair[key] = static_cast<uint8_t>(table[0][key] | table[1][key] << 4);
    }
};

const Tables &tables()
{
    static const Tables instance; // thread-safe one-time build
    return instance;
}

} // namespace

const uint8_t *linePatternTable(int colour) { return tables().table[colour & 1].get(); }

const uint8_t *linePairTable() { return tables().pair.get(); }

uint8_t linePattern(int colour, uint32_t key) { return linePatternTable(colour)[key & (KeyCount - 1)]; }

} // namespace korvana::kumo
