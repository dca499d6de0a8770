#pragma once
// korvana-cli subcommands: each source file registers one with a static
// CliCommand object.

#include <string>
#include <vector>

struct CliCommand {
    using Run = int (*)(const std::vector<std::string> &args);
    CliCommand(const char *name, const char *usage, Run run);

    const char *name;
    const char *usage;
    Run run;
};

/// Every registered subcommand, in registration order.
std::vector<const CliCommand *> &cliCommands();
