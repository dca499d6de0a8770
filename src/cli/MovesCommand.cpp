// korvana-cli moves: the main line of a game record as clipboard text ("h8,i8,**,").

#include "cli/CliCommand.h"
#include "cli/CliRecordFile.h"

#include "record/ClipboardText.h"
#include "record/MOveTree.h"

#include <cstdio>
#include <string>

using namespace korvana;

namespace {

int run(const std::vector<std::string> &args)
{
    if (args.size() != 1) {
        std::fputs("usage: korvana-cli moves FILE\n", stderr);
        return 1;
    }
    MOveTree game;
    if (!loadMainLine(game, args[0])) {
        std::fprintf(stderr, "moves: %s: %s\n", args[0].c_str(), game.loadError().c_str());
        return 1;
    }
    const std::string text = ClipboardText::CopyText(game.board().history()) + "\n";
    std::fputs(text.c_str(), stdout);
    return 0;
}

const CliCommand command("moves", "moves FILE   (main line of a game record as clipboard text)", run);

} // namespace
