// korvana-cli db: look a position up in the position database, or store its
// candidate moves.
#include "cli/CliCommand.h"
#include "cli/CliMoves.h"

#include "board/Point.h"
#include "database/ADataBase.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace korvana;

namespace {

void usage()
{
    std::fputs("usage: korvana-cli db lookup [--dir DIR] MOVES\n"
               "       korvana-cli db update [--dir DIR] [--id N] MOVES [POINT...]\n"
               "MOVES is clipboard text such as h8,i8,i9,**, (empty or **, for the empty board);\n"
               "POINTs are written like h8. lookup exits 1 when the position is not stored.\n",
               stderr);
}

int run(const std::vector<std::string> &args)
{
    if (args.empty() || (args[0] != "lookup" && args[0] != "update")) {
        usage();
        return 2;
    }
    const bool update = args[0] == "update";
    std::string directory;
    int32_t id = AData::DefaultId;
    std::vector<std::string> rest;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--dir" && i + 1 < args.size()) {
            directory = args[++i];
            // The database takes the directory part up to the last separator.
            if (!directory.empty() && directory.back() != '/')
                directory += '/';
        } else if (update && args[i] == "--id" && i + 1 < args.size()) {
            char *end = nullptr;
            const long value = std::strtol(args[++i].c_str(), &end, 10);
            if (!*args[i].c_str() || *end || value < INT32_MIN || value > INT32_MAX) {
                std::fprintf(stderr, "db: bad id '%s'\n", args[i].c_str());
                return 2;
            }
            id = static_cast<int32_t>(value);
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.empty() || (!update && rest.size() != 1)) {
        usage();
        return 2;
    }
    std::vector<uint8_t> moves;
    std::string why;
    if (!CliMoves::parse(rest[0], CliMoves::EndMark::Optional, moves, why)) {
        std::fprintf(stderr, "db: %s\n", why.c_str());
        return 2;
    }
    if (moves.size() >= PointCount) {
        std::fputs("db: too many moves\n", stderr);
        return 2;
    }

    // As the main window does: load the stone count's file, take the
    // position, and adopt the stored candidates when it is found.
    ADataBase database(static_cast<int>(moves.size()), directory);
    AData record;
    record.setStones(moves.data(), static_cast<int>(moves.size()));
    record.setId(id);
    AData found;
    const bool hit = database.CopyFromAnyOrientation(record, found) != NoPointCode;

    if (!update) {
        if (!hit) {
            std::puts("not found");
            return 1;
        }
        std::string line;
        for (int i = 0; i < found.candidateCount(); ++i) {
            if (i)
                line += ' ';
            line += writtenPoint(found.candidatePoint(i));
        }
        std::puts(line.c_str());
        return 0;
    }

    if (hit)
        record = found;
    record.clearCandidates();
    for (size_t i = 1; i < rest.size(); ++i) {
        int x = 0, y = 0;
        if (!parseWrittenPoint(rest[i], x, y)) {
            std::fprintf(stderr, "db: not a point: '%s'\n", rest[i].c_str());
            return 2;
        }
        if (record.hasStoneAt(pointOf(x, y))) {
            std::fprintf(stderr, "db: a stone stands on %s\n", rest[i].c_str());
            return 2;
        }
        record.addCandidate(pointOf(x, y));
    }
    database.setStoneCount(static_cast<int>(moves.size()));
    database.Update(record);
    if (!database.Save()) {
        std::fprintf(stderr, "db: can't save %s: %s\n", database.fileName().c_str(), database.lastError().c_str());
        return 1;
    }
    return 0;
}

const CliCommand command("db", "db lookup|update [--dir DIR] MOVES [POINT...]  position database", run);

} // namespace
