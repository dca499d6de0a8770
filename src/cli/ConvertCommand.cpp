// korvana-cli convert: reads a game record of any format (recognised by content, as
// the program's Open does) and writes it in the chosen one (as its Save does).

#include "cli/CliCommand.h"
#include "cli/CliRecordFile.h"

#include "log/SafeFileWriter.h"
#include "record/MOveTree.h"

#include <cstdio>
#include <string>

using namespace korvana;

namespace {

bool parseFormat(const std::string &name, MOveTree::RecordFormat &format)
{
    if (name == "sgf")
        format = MOveTree::FormatSgf;
    else if (name == "ban")
        format = MOveTree::FormatBan;
    else if (name == "pos")
        format = MOveTree::FormatPos;
    else
        return false;
    return true;
}

int fail(const std::string &message)
{
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
}

int run(const std::vector<std::string> &args)
{
    std::vector<std::string> files;
    std::string formatName;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format" && i + 1 < args.size())
            formatName = args[++i];
        else if (args[i].rfind("--format=", 0) == 0)
            formatName = args[i].substr(9);
        else
            files.push_back(args[i]);
    }
    MOveTree::RecordFormat format;
    if (files.size() != 2 || !parseFormat(formatName, format))
        return fail("usage: korvana-cli convert IN OUT --format sgf|ban|pos");

    MOveTree game;
    // .ban and .pos keep the line on the board: the main line.
    if (!loadMainLine(game, files[0]))
        return fail("convert: " + files[0] + ": " + game.loadError());
    game.setRecordFormat(format);
    // Written here rather than by Save, so that the reason of a failure can be told.
    SafeFileWriter out(files[1]);
    if (!out.open() || !out.write(game.RecordText(format)) || !out.commit())
        return fail("convert: " + out.error());
    return 0;
}

const CliCommand command("convert", "convert IN OUT --format sgf|ban|pos   (IN in any record format)", run);

} // namespace
