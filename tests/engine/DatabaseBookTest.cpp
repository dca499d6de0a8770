// The book consult against real database files.
#include "engine/PhaseIter.h"

#include "EngineTestBoards.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace korvana;
using korvana::test::ScratchDir;
using korvana::test::writeAll;

namespace {

int thinkWithBook(const BanArray &board, const std::string &dir)
{
    const ThinkingLevel &level = ThinkingLevel::preset(1);
    PhaseIter iter(std::make_unique<Phase>(board), level, level.depth, level.hashSize, dir);
    return iter.Think();
}

// Stored: Black h8 (112) and h9 (127), White i8 (113); first candidate b2 (16),
// a point the search would never choose by itself.
constexpr const char *StoredFile = "210 1 3\r\n1024 112 113 127 16 0 97 5\r\n";

TEST(DatabaseBook, AnswersTheStoredMoveInEveryOrientation)
{
    ScratchDir book;
    writeAll(book.file("kumo003.adb"), StoredFile);
    for (int kind = 0; kind < 8; ++kind) {
        BanArray board;
        // Played in another order than stored: only the position counts.
        for (int p : {127, 113, 112})
            board.putStone(symmetryTransform(kind, p));
        EXPECT_EQ(thinkWithBook(board, book.dir()), symmetryTransform(kind, 16)) << "orientation " << kind;
    }
}

TEST(DatabaseBook, OtherPositionOrMissingFileIsSearched)
{
    ScratchDir book;
    writeAll(book.file("kumo003.adb"), StoredFile);
    // Colours exchanged: not the stored position.
    const BanArray swapped = testboards::fromMoves("i8 h8 h9");
    EXPECT_NE(thinkWithBook(swapped, book.dir()), 16);
    EXPECT_LT(thinkWithBook(swapped, book.dir()), PointCount);
    // The directory given is the one read: elsewhere there is no book.
    ScratchDir empty;
    const BanArray stored = testboards::fromMoves("h8 i8 h9");
    EXPECT_NE(thinkWithBook(stored, empty.dir()), 16);
    EXPECT_EQ(thinkWithBook(stored, book.dir()), 16);
}

} // namespace
