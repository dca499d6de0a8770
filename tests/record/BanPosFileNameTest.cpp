// Names the save command gives record files.

#include "record/RecordFileName.h"

#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace korvana {
namespace {
#include <string>

struct NameCase {
    std::string name;
    int entry;
    std::string saved;
};
[[maybe_unused]] std::string nameOf(const NameCase &c)
{
    return korvana::test::caseName(c.name + " " + std::to_string(c.entry));
}
[[maybe_unused]] void PrintTo(const NameCase &c, std::ostream *os) { *os << nameOf(c); }

class RecordFileNames : public testing::TestWithParam<NameCase> {};

TEST_P(RecordFileNames, ExtensionAddedUnlessPresent)
{
    const NameCase &c = GetParam();
    EXPECT_EQ(recordFileName(c.name, recordFormatOfFilterEntry(c.entry)), c.saved);
}

INSTANTIATE_TEST_SUITE_P(Cases, RecordFileNames,
                         testing::Values(NameCase{"game", 1, "game.sgf"}, NameCase{"game", 2, "game.ban"},
                                         NameCase{"game", 3, "game.pos"}, NameCase{"Game.BAN", 2, "Game.BAN"},
                                         NameCase{"game.SGF", 1, "game.SGF"}, NameCase{"game.Sgf", 1, "game.Sgf.sgf"},
                                         NameCase{"game.ban", 1, "game.ban.sgf"},
                                         NameCase{"my.pos.files/game", 3, "my.pos.files/game"},
                                         NameCase{"game", 4, "game"}),
                         [](const auto &info) { return nameOf(info.param); });

TEST(RecordFileNames, FilterEntries)
{
    EXPECT_EQ(recordFormatOfFilterEntry(DefaultRecordFilterEntry), MOveTree::FormatBan);
    EXPECT_EQ(recordFormatOfFilterEntry(0), MOveTree::FormatUnknown);
    EXPECT_EQ(std::string(RecordFileFilter).find("SGF(*.sgf)|*.sgf|"), 0u);
}

} // namespace
} // namespace korvana
