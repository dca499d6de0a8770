#pragma once
// BanMove: what the game board knows of a move. The move tree's node derives
// from it, so the board can point at tree nodes without knowing the tree.

#include "board/BanHistory.h"
#include "board/Point.h"
#include "board/PosStat.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace korvana {

/// One judged point of a move: the code before and after the move was played.
/// Three bytes instead of two MovedPos records: a large tree keeps about 80 of these per node.
struct CodeRecord {
    uint8_t point = 0; ///< point index 0..224
    POS_STAT before = 20;
    POS_STAT after = 20;
};

/// The four code lists a move carries.
enum class CodeList { BlackBefore, WhiteBefore, BlackAfter, WhiteAfter };

class BanMove {
public:
    /// The root of a tree: no stone, (0, 0) and Black.
    BanMove() = default;
    BanMove(int x, int y, char colour) : x_(static_cast<uint8_t>(x)), y_(static_cast<uint8_t>(y)), colour_(colour) {}
    BanMove(const BanMove &) = delete;
    BanMove &operator=(const BanMove &) = delete;

    uint8_t x() const { return x_; }
    uint8_t y() const { return y_; }
    uint8_t point() const { return pointOf(x_, y_); }
    /// 'B' or 'W'.
    char colour() const { return colour_; }
    /// The judge's code for this stone when it was first played; 20 until then.
    POS_STAT code() const { return code_; }
    /// True once the judge has given this stone its code (a move created while the
    /// board defers judging gets it when it is first replayed).
    bool isCoded() const { return coded_; }

    /// True once the board has judged around this move; replays then reuse the records.
    bool hasCodeRecords() const { return recorded_; }
    /// Judged points of one colour (Black first, then White), each with its old and new code.
    const CodeRecord *blackRecords() const { return records_.get(); }
    const CodeRecord *whiteRecords() const { return records_.get() + blackCount_; }
    int blackRecordCount() const { return blackCount_; }
    int whiteRecordCount() const { return whiteCount_; }
    /// One of the four lists as MovedPos records, in judging order (a copy, for inspection).
    std::vector<MovedPos> codeList(CodeList which) const;

    /// Heap bytes held by the code records (for memory accounting).
    size_t recordBytes() const { return sizeof(CodeRecord) * (blackCount_ + whiteCount_) + nestedBytes_; }

private:
    friend class Board;

    uint8_t x_ = 0;
    uint8_t y_ = 0;
    char colour_ = 'B';
    POS_STAT code_ = 20;
    uint8_t blackCount_ = 0; ///< records of Black
    uint8_t whiteCount_ = 0; ///< records of White (at most 40)
    bool recorded_ = false;
    bool coded_ = false;
    std::unique_ptr<CodeRecord[]> records_; ///< Black records, then White records
    /// The points whose Black judgement judged other points on the way (ChkStat::setTrace)
    /// differently after the move, so the board knows what later moves reach: per point,
    /// the point, the counts before and after, then those points.
    std::unique_ptr<uint8_t[]> nested_;
    uint32_t nestedBytes_ = 0;
};

} // namespace korvana
