#pragma once
// ThinkResult: the computer's answer to one request, a 16-byte plain record so
// it can be copied between threads as a whole.

#include <cstdint>

namespace korvana {

/// A point of an answer: column, row and a colour char (always 'B').
struct ThinkPoint {
    uint8_t x = 0;
    uint8_t y = 0;
    char colour = 'B';
    bool operator==(const ThinkPoint &) const = default;
};
static_assert(sizeof(ThinkPoint) == 3);

/// Request types a worker answers.
namespace Request {
inline constexpr uint8_t Move = 0;           ///< best move for the side to move
inline constexpr uint8_t WhichRemove = 3;    ///< which of two proposed fifth moves to remove
inline constexpr uint8_t ShowTwoPoints = 4;  ///< two proposed fifth moves
inline constexpr uint8_t WhichColour = 5;    ///< which colour the computer takes
inline constexpr uint8_t OpeningPattern = 6; ///< which opening to place
} // namespace Request

/// Values of ThinkResult::failed.
namespace Failure {
inline constexpr int32_t None = 0;           ///< a valid answer
inline constexpr int32_t NoAnswer = 1;       ///< engine gave up (255) or the worker was stopped
inline constexpr int32_t LibraryMissing = 2; ///< engine library or its entry point not found
} // namespace Failure

struct ThinkResult {
    uint8_t requestType = 0;        ///< the request this answers
    ThinkPoint a;                   ///< first answer point
    ThinkPoint b;                   ///< second answer point
    char colour = 0;                ///< answer of request 5: 'B' = the computer takes Black; 0 = not set
    int32_t openingIndex = 14;      ///< answer of request 6
    int32_t failed = Failure::None; ///< see Failure

    /// Point A from a point code; code 255 (no point) leaves it unchanged.
    void setA(int code);
    /// Point B from a point code; code 255 leaves it unchanged.
    void setB(int code);
    /// Point code (column + 15 * row) of A and of B.
    int codeA() const { return a.x + 15 * a.y; }
    int codeB() const { return b.x + 15 * b.y; }
    bool valid() const { return failed == Failure::None; }
};
static_assert(sizeof(ThinkResult) == 16);

} // namespace korvana
