// korvana-match: plays games between two Gomocup engines under Renju rules
// from the 26 openings, colours alternating, and reports the result.
//
//   korvana-match [--games N] [--first K] [--time MS] [--grace MS] [--sgf DIR] "ENGINE A" "ENGINE B"
//
// Game g (from 1) plays opening ((g - 1) / 2) mod 26, A as Black when g is odd;
// --first starts the schedule at game K.
// An engine is a command line, e.g. "build/bin/pbrain-korvana --builtin".
#include "kumo98/OpeningStones.h"
#include "log/SafeFileWriter.h"
#include "match/MatchGame.h"
#include "match/MatchStats.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

using namespace korvana;
using namespace korvana::match;

namespace {

int usage()
{
    std::fputs(
        "usage: korvana-match [--games N] [--first K] [--time MS] [--grace MS] [--sgf DIR] \"ENGINE A\" \"ENGINE B\"\n",
        stderr);
    return 2;
}

bool parseInt(const char *text, int lo, int hi, int &value)
{
    char *end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!*text || *end || v < lo || v > hi)
        return false;
    value = static_cast<int>(v);
    return true;
}

std::vector<std::string> splitCommand(const std::string &command)
{
    std::istringstream in(command);
    std::vector<std::string> words;
    std::string w;
    while (in >> w)
        words.push_back(w);
    return words;
}

} // namespace

int main(int argc, char **argv)
{
    int games = 104;
    int first = 1;
    MatchGameSettings settings;
    std::string sgfDir;
    std::vector<std::string> engines;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--games" && hasValue) {
            if (!parseInt(argv[++i], 1, 100000, games))
                return usage();
        } else if (a == "--first" && hasValue) {
            if (!parseInt(argv[++i], 1, 100000, first))
                return usage();
        } else if (a == "--time" && hasValue) {
            if (!parseInt(argv[++i], 1, 3600000, settings.moveTimeMs))
                return usage();
        } else if (a == "--grace" && hasValue) {
            if (!parseInt(argv[++i], 0, 3600000, settings.graceMs))
                return usage();
        } else if (a == "--sgf" && hasValue) {
            sgfDir = argv[++i];
        } else if (!a.empty() && a[0] != '-') {
            engines.push_back(a);
        } else {
            return usage();
        }
    }
    if (engines.size() != 2)
        return usage();
    const std::vector<std::string> commands[2] = {splitCommand(engines[0]), splitCommand(engines[1])};
    if (commands[0].empty() || commands[1].empty())
        return usage();

    // Found out now, not after the first game has been played for nothing.
    if (!sgfDir.empty()) {
        SafeFileWriter probe(sgfDir + "/game000.sgf");
        if (!probe.open()) {
            std::fprintf(stderr, "korvana-match: %s\n", probe.error().c_str());
            return 1;
        }
    }

    MatchStats stats;
    int failures = 0;
    for (int g = first - 1; g < first - 1 + games; ++g) {
        // Each opening is played twice in a row, once with each engine as Black.
        const int opening = (g / 2) % kumo::OpeningCount;
        const int aIsBlack = (g % 2) == 0;
        const auto &stones = kumo::Openings[opening].stones;
        GameResult result;
        {
            EngineProcess a(commands[0]), b(commands[1]);
            MatchGame game(aIsBlack ? a : b, aIsBlack ? b : a, settings);
            result = game.play(std::vector<uint8_t>(stones, stones + 3));
        }
        const int aSide = aIsBlack ? 0 : 1;
        const int outcome = result.winner < 0 ? 0 : result.winner == aSide ? 1 : -1;
        stats.add(outcome);
        std::printf("game %d: %s, A %s: %s -> %s (%zu moves)\n", g + 1, kumo::Openings[opening].name,
                    aIsBlack ? "Black" : "White", result.reason.c_str(),
                    outcome > 0   ? "A wins"
                    : outcome < 0 ? "B wins"
                                  : "draw",
                    result.moves.size());
        std::fflush(stdout);
        if (!sgfDir.empty()) {
            char name[64];
            std::snprintf(name, sizeof name, "/game%03d.sgf", g + 1);
            SafeFileWriter file(sgfDir + name);
            const std::string text = MatchGame::toSgf(result, aIsBlack ? engines[0] : engines[1],
                                                      aIsBlack ? engines[1] : engines[0], kumo::Openings[opening].name);
            if (!file.open() || !file.write(text) || !file.commit()) {
                std::fprintf(stderr, "cannot write %s%s\n", sgfDir.c_str(), name);
                ++failures;
            }
        }
    }
    std::printf("A = %s\nB = %s\nA: %s\n", engines[0].c_str(), engines[1].c_str(), stats.summary().c_str());
    return failures ? 1 : 0;
}
