// korvana-cli moves: the main line of a game record as clipboard text ("h8,i8,**,").

#include "cli/CliCommand.h"

#include "record/ClipboardText.h"
#include "record/MOveTree.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

using namespace korvana;

namespace {

// The record code reports details ("error : Illegal move") on the standard error stream;
// this command answers with one line of its own instead.
class QuietDiagnostics {
public:
    QuietDiagnostics() : saved_(std::cerr.rdbuf(nullptr)) {}
    ~QuietDiagnostics() { std::cerr.rdbuf(saved_); }

private:
    std::streambuf *saved_;
};

bool readable(const std::string &path)
{
    return std::ifstream(path, std::ios::binary).is_open();
}

int loadMainLine(MOveTree &game, const std::string &path)
{
    int loaded;
    {
        QuietDiagnostics quiet;
        loaded = game.Load(path);
    }
    // As after Open: the main line is on the board.
    game.GotoRoot();
    while (game.Forward())
        ;
    return loaded;
}

int run(const std::vector<std::string> &args)
{
    if (args.size() != 1) {
        std::fputs("usage: korvana-cli moves FILE\n", stderr);
        return 1;
    }
    MOveTree game;
    if (!readable(args[0])) {
        std::fprintf(stderr, "moves: cannot read %s\n", args[0].c_str());
        return 1;
    }
    if (!loadMainLine(game, args[0])) {
        std::fprintf(stderr, "moves: %s is not a game record\n", args[0].c_str());
        return 1;
    }
    const std::string text = ClipboardText::CopyText(game.board().history()) + "\n";
    std::fputs(text.c_str(), stdout);
    return 0;
}

const CliCommand command("moves", "moves FILE   (main line of a game record as clipboard text)", run);

} // namespace
