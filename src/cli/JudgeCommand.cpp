// korvana-cli judge: the code of every empty point for both colours, one
// position per input line.
#include "cli/CliCommand.h"

#include "board/BanArray.h"
#include "board/ChkStat.h"

#include <cstdio>
#include <iostream>
#include <string>

using namespace korvana;

namespace {

// Parses "p,p,p" into a board; on error fills `why` and returns false.
bool parsePosition(const std::string &line, BanArray &board, std::string &why)
{
    board.reset();
    size_t i = 0;
    if (line.empty())
        return true;
    while (true) {
        size_t end = line.find(',', i);
        std::string field = line.substr(i, end == std::string::npos ? std::string::npos : end - i);
        if (field.empty() || field.size() > 3 || field.find_first_not_of("0123456789") != std::string::npos) {
            why = "not a point: '" + field + "'";
            return false;
        }
        int point = std::stoi(field);
        if (point > 224) {
            why = "point outside 0..224: " + field;
            return false;
        }
        if (board.cells()[point] != Empty) {
            why = "point given twice: " + field;
            return false;
        }
        board.putStone(point);
        if (end == std::string::npos)
            return true;
        i = end + 1;
    }
}

int run(const std::vector<std::string> &args)
{
    if (!args.empty()) {
        std::fputs("usage: korvana-cli judge < positions\n", stderr);
        return 2;
    }
    std::ios::sync_with_stdio(false);
    int status = 0;
    std::string line, out;
    BanArray board;
    for (long lineNo = 1; std::getline(std::cin, line); ++lineNo) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string why;
        if (!parsePosition(line, board, why)) {
            std::cerr << "line " << lineNo << ": " << why << '\n';
            status = 1;
            continue;
        }
        ChkStat judge(board);
        for (char colour : {Black, White}) {
            out.assign(1, colour);
            for (int p = 0; p < PointCount; ++p) {
                out += ' ';
                if (board.cells()[p] != Empty)
                    out += '-';
                else
                    out += std::to_string(judge.judgeAt(p, colour));
            }
            out += '\n';
            std::cout << out;
        }
    }
    return status;
}

const CliCommand command("judge", "judge  < lines of point indices (x + 15 * y), comma-separated", run);

} // namespace
