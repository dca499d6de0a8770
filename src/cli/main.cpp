// korvana-cli: scripting front end over the program's core.
#include "cli/CliCommand.h"

#include "log/ErrorLog.h"
#include "settings/ProgramPaths.h"

#include <cstdio>
#include <cstring>

CliCommand::CliCommand(const char *n, const char *u, Run r) : name(n), usage(u), run(r)
{
    cliCommands().push_back(this);
}

std::vector<const CliCommand *> &cliCommands()
{
    static std::vector<const CliCommand *> commands;
    return commands;
}

static void usage(FILE *out)
{
    std::fputs("usage: korvana-cli COMMAND [ARGS...]\n", out);
    for (const CliCommand *c : cliCommands())
        std::fprintf(out, "  %s\n", c->usage);
}

int main(int argc, char **argv)
{
    // Beside the program, or in the per-user directory, like the settings file.
    korvana::ErrorLog::instance().setFileName(korvana::programDirectory() + "error.log");
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        usage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    for (const CliCommand *c : cliCommands())
        if (!std::strcmp(argv[1], c->name))
            return c->run(std::vector<std::string>(argv + 2, argv + argc));
    std::fprintf(stderr, "korvana-cli: unknown command '%s'\n", argv[1]);
    usage(stderr);
    return 2;
}
