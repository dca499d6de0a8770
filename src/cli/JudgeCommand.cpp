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
    if (line.empty())
        return true;
    size_t i = 0;
    while (true) {
        size_t end = line.find(',', i);
        if (end == std::string::npos)
            end = line.size();
        const size_t length = end - i;
        int point = 0;
        bool digits = length >= 1 && length <= 3;
        for (size_t k = i; k < end && digits; ++k) {
            digits = line[k] >= '0' && line[k] <= '9';
            point = point * 10 + (line[k] - '0');
        }
        if (!digits) {
            why = "not a point: '" + line.substr(i, length) + "'";
            return false;
        }
        if (point > 224) {
            why = "point outside 0..224: " + line.substr(i, length);
            return false;
        }
        if (board.cells()[point] != Empty) {
            why = "point given twice: " + line.substr(i, length);
            return false;
        }
        board.putStone(point);
        if (end == line.size())
            return true;
        i = end + 1;
    }
}

// Standard output through one large buffer: the two lines of a position are written with
// a few copies of ready-made fields.
class Output {
public:
    ~Output() { flush(); }
    char *reserve(size_t n)
    {
        if (used_ + n > sizeof buffer_)
            flush();
        return buffer_ + used_;
    }
    void commit(char *end) { used_ = static_cast<size_t>(end - buffer_); }
    void flush()
    {
        std::fwrite(buffer_, 1, used_, stdout);
        used_ = 0;
    }

private:
    char buffer_[1 << 16];
    size_t used_ = 0;
};

// " N" for each code and " -" for a stone, three bytes apart (the third is the length).
struct Fields {
    char text[Stat::Count + 1][3];
    Fields()
    {
        for (int c = 0; c < Stat::Count; ++c) {
            text[c][0] = c < 10 ? static_cast<char>('0' + c) : static_cast<char>('0' + c / 10);
            text[c][1] = c < 10 ? 0 : static_cast<char>('0' + c % 10);
            text[c][2] = static_cast<char>(c < 10 ? 1 : 2);
        }
        text[Stat::Count][0] = '-';
        text[Stat::Count][2] = 1;
    }
};

char *writeLine(char *out, char colour, const POS_STAT *codes, const Fields &fields)
{
    *out++ = colour;
    for (int p = 0; p < PointCount; ++p) {
        const char *f = fields.text[codes[p]];
        out[0] = ' ';
        out[1] = f[0];
        out[2] = f[1];
        out += 1 + f[2];
    }
    *out++ = '\n';
    return out;
}

int run(const std::vector<std::string> &args)
{
    if (!args.empty()) {
        std::fputs("usage: korvana-cli judge < positions\n", stderr);
        return 2;
    }
    std::ios::sync_with_stdio(false);
    static const Fields fields;
    static Output output;
    int status = 0;
    std::string line;
    BanArray board;
    POS_STAT codes[2][PointCount];
    for (long lineNo = 1; std::getline(std::cin, line); ++lineNo) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string why;
        if (!parsePosition(line, board, why)) {
            output.flush();
            std::cerr << "line " << lineNo << ": " << why << '\n';
            status = 1;
            continue;
        }
        ChkStat judge(board);
        const char *cells = board.cells();
        for (int p = 0; p < PointCount; ++p) {
            if (cells[p] == Empty)
                judge.judgeBoth(p, codes[0][p], codes[1][p]);
            else
                codes[0][p] = codes[1][p] = Stat::Count;
        }
        char *out = output.reserve(2 * (2 + 3 * PointCount));
        out = writeLine(out, Black, codes[0], fields);
        out = writeLine(out, White, codes[1], fields);
        output.commit(out);
    }
    output.flush();
    return status;
}

const CliCommand command("judge", "judge  < lines of point indices (x + 15 * y), comma-separated", run);

} // namespace
