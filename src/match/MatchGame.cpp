#include "match/MatchGame.h"

#include "board/Point.h"
#include "board/PosStat.h"

#include <chrono>
#include <cstdlib>

namespace korvana::match {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::string coords(int point) { return std::to_string(point % 15) + "," + std::to_string(point / 15); }

// "x,y" with both in 0..14; -1 otherwise.
int parseMove(const std::string &line)
{
    const size_t comma = line.find(',');
    if (comma == std::string::npos || comma == 0 || comma + 1 >= line.size() || line.size() > 5)
        return -1;
    const std::string xs = line.substr(0, comma), ys = line.substr(comma + 1);
    if (xs.find_first_not_of("0123456789") != std::string::npos ||
        ys.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const int x = std::atoi(xs.c_str()), y = std::atoi(ys.c_str());
    return x <= 14 && y <= 14 ? x + 15 * y : -1;
}

bool isChatter(const std::string &line)
{
    for (const char *prefix : {"MESSAGE", "DEBUG", "SUGGEST"})
        if (line.rfind(prefix, 0) == 0)
            return true;
    return line.empty();
}

} // namespace

bool MatchGame::start(int side, std::string &why)
{
    EngineProcess &e = *engines_[side];
    if (!e.running() || !e.send("START 15")) {
        why = "engine did not start";
        return false;
    }
    std::string line;
    const auto deadline = Clock::now() + milliseconds(settings_.startTimeoutMs);
    while (true) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || !e.readLine(line, left)) {
            why = "no answer to START";
            return false;
        }
        if (isChatter(line))
            continue;
        if (line != "OK") {
            why = "refused START: " + line;
            return false;
        }
        break;
    }
    e.send("INFO timeout_turn " + std::to_string(settings_.moveTimeMs));
    e.send("INFO timeout_match 0");
    e.send("INFO rule 4");
    return true;
}

int MatchGame::ask(int side, const MatchReferee &referee, std::string &why)
{
    EngineProcess &e = *engines_[side];
    const std::vector<uint8_t> &moves = referee.moves();
    bool sent = true;
    if (!hasBoard_[side]) {
        sent = e.send("BOARD");
        for (size_t i = 0; i < moves.size() && sent; ++i)
            sent = e.send(coords(moves[i]) + "," + ((int(i & 1) == side) ? "1" : "2"));
        sent = sent && e.send("DONE");
        hasBoard_[side] = true;
    } else {
        sent = e.send("TURN " + coords(moves.back()));
    }
    if (!sent) {
        why = "engine is gone";
        return -1;
    }
    const auto deadline = Clock::now() + milliseconds(settings_.moveTimeMs + settings_.graceMs);
    std::string line;
    while (true) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || !e.readLine(line, left)) {
            why = e.closed() ? "engine is gone" : "time-out";
            return -1;
        }
        if (isChatter(line))
            continue;
        const int move = parseMove(line);
        if (move < 0)
            why = "answered '" + line.substr(0, 60) + "'";
        return move;
    }
}

GameResult MatchGame::play(const std::vector<uint8_t> &opening)
{
    GameResult result;
    MatchReferee referee;
    referee.reset();
    for (uint8_t stone : opening)
        referee.play(stone);
    for (int side = 0; side < 2; ++side) {
        std::string why;
        if (!start(side, why)) {
            result.winner = 1 - side;
            result.reason = std::string(side == 0 ? "Black" : "White") + ": " + why;
            result.moves = referee.moves();
            return result;
        }
    }
    while (true) {
        const int side = static_cast<int>(referee.moves().size() & 1);
        const char *name = side == 0 ? "Black" : "White";
        std::string why;
        const int move = ask(side, referee, why);
        if (move < 0) {
            result.winner = 1 - side;
            result.reason = std::string(name) + " " + why;
            break;
        }
        const Verdict verdict = referee.play(move);
        if (verdict == Verdict::Continue)
            continue;
        if (verdict == Verdict::Illegal) {
            result.winner = 1 - side;
            result.reason = std::string(name) + " illegal move " + coords(move);
        } else if (verdict == Verdict::Forbidden) {
            result.winner = 1;
            result.reason = "Black forbidden move " + writtenPoint(move) + " (" + label(referee.lastCode()) + ")";
        } else if (verdict == Verdict::Five) {
            result.winner = side;
            result.reason = std::string(name) + " " + label(referee.lastCode());
        } else {
            result.winner = -1;
            result.reason = "board full";
        }
        break;
    }
    result.moves = referee.moves();
    return result;
}

std::string MatchGame::toSgf(const GameResult &result, const std::string &blackName, const std::string &whiteName,
                             const std::string &openingName)
{
    auto escape = [](const std::string &s) {
        std::string out;
        for (char c : s) {
            // Control bytes (an engine may answer anything) have no place in a record.
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7f) {
                out += '?';
                continue;
            }
            if (c == ']' || c == '\\')
                out += '\\';
            out += c;
        }
        return out;
    };
    std::string sgf = "(;GM[4]FF[4]SZ[15]RU[Renju]";
    sgf += "PB[" + escape(blackName) + "]PW[" + escape(whiteName) + "]";
    sgf += "GN[" + escape(openingName) + "]";
    sgf += std::string("RE[") + (result.winner == 0 ? "B+" : result.winner == 1 ? "W+" : "0") + "]";
    sgf += "C[" + escape(result.reason) + "]\n";
    for (size_t i = 0; i < result.moves.size(); ++i) {
        const int p = result.moves[i];
        sgf += std::string(";") + ((i & 1) ? "W" : "B") + "[" + char('a' + p % 15) + char('a' + p / 15) + "]";
        if (i % 10 == 9)
            sgf += "\n";
    }
    sgf += ")\n";
    return sgf;
}

} // namespace korvana::match
