// korvana-cli think: the built-in engine's move for a position given as
// clipboard text ("h8,i8,**,").
#include "cli/CliCommand.h"
#include "cli/CliMoves.h"

#include "board/BanArray.h"
#include "board/ChkStat.h"
#include "board/PosStat.h"
#include "board/Point.h"
#include "engine/PhaseIter.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace korvana;

namespace {

bool parseSeed(const std::string &text, uint32_t &seed)
{
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long long value = std::stoull(text);
    if (value > 0xffffffffull)
        return false;
    seed = static_cast<uint32_t>(value);
    return true;
}

int usage()
{
    std::fputs("usage: korvana-cli think MOVES [--seed N] [--db DIR]\n", stderr);
    return 2;
}

int run(const std::vector<std::string> &args)
{
    if (args.empty())
        return usage();
    bool haveSeed = false, haveDb = false;
    uint32_t seed = 0;
    std::string db;
    for (size_t i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return usage();
        if (args[i] == "--seed") {
            if (!parseSeed(args[i + 1], seed)) {
                std::fprintf(stderr, "not a seed: '%s'\n", args[i + 1].c_str());
                return 2;
            }
            haveSeed = true;
        } else if (args[i] == "--db") {
            db = args[i + 1];
            haveDb = true;
        } else {
            return usage();
        }
    }
    if (haveDb && !db.empty() && db.back() != '/')
        db += '/'; // the database takes the directory part up to the last separator

    std::vector<uint8_t> moves;
    std::string why;
    if (!CliMoves::parse(args[0], CliMoves::EndMark::Optional, moves, why)) {
        std::fprintf(stderr, "%s\n", why.c_str());
        return 1;
    }
    BanArray board;
    for (uint8_t point : moves) {
        board.putStone(point);
        // A five (or a forbidden move) ended the game: no move to answer.
        if (isGameEnd(ChkStat(board).judgeLast())) {
            std::fputs("the game is over\n", stderr);
            return 1;
        }
    }
    const ThinkingLevel &level = ThinkingLevel::preset(1);
    PhaseIter iter(std::make_unique<Phase>(board), level, level.depth, level.hashSize, db);
    if (haveSeed)
        iter.setRandomSeed(seed);
    if (!haveDb)
        iter.setBookLookup(nullptr); // without --db the answer depends on the arguments alone
    const int point = iter.Think();
    if (point >= PointCount) {
        std::printf("none %d\n", point);
        return 1;
    }
    std::printf("%s %d\n", writtenPoint(point).c_str(), point);
    return 0;
}

const CliCommand command("think", "think MOVES [--seed N] [--db DIR]   MOVES as clipboard text, e.g. h8,i8,**,", run);

} // namespace
