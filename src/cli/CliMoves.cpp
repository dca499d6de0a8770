#include "cli/CliMoves.h"

#include "board/Point.h"

namespace korvana {

namespace {

std::string trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

bool CliMoves::parse(const std::string &text, EndMark endMark, std::vector<uint8_t> &points, std::string &why)
{
    points.clear();
    std::vector<std::string> tokens;
    bool ended = false;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string token = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (token.empty())
            continue;
        if (token == "**") {
            ended = true;
            break;
        }
        tokens.push_back(token);
    }
    // Checked before the moves so that text without any comma structure is
    // reported as such rather than as one odd move.
    if (endMark == EndMark::Required && !ended && !tokens.empty()) {
        why = "expected the end mark **, after the last move '" + tokens.back() + "'";
        return false;
    }
    for (const std::string &token : tokens) {
        int x = 0, y = 0;
        if (!parseWrittenPoint(token, x, y)) {
            why = "not a point: '" + token + "'";
            return false;
        }
        const uint8_t point = pointOf(x, y);
        for (uint8_t p : points)
            if (p == point) {
                why = "point given twice: " + token;
                return false;
            }
        points.push_back(point);
    }
    return true;
}

} // namespace korvana
