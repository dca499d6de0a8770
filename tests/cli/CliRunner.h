#pragma once
// Runs korvana-cli with arguments and standard input; captures both output streams.

#include "support/ScratchDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace korvana::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readWhole(const std::filesystem::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string shellQuote(const std::string &s)
{
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

/// Runs `korvana-cli args...` with `input` on standard input.
inline CliResult runCli(const std::string &args, const std::string &input = "")
{
    namespace fs = std::filesystem;
    const ScratchDir scratch;
    const fs::path &dir = scratch.path();
    {
        std::ofstream in(dir / "in", std::ios::binary);
        in << input;
    }
    // timeout: a command that hangs fails its test instead of stalling the run.
    std::string cmd = "timeout 60 " + std::string(KORVANA_BIN_DIR) + "/korvana-cli " + args + " <" +
                      shellQuote((dir / "in").string()) + " >" + shellQuote((dir / "out").string()) + " 2>" +
                      shellQuote((dir / "err").string());
    int raw = std::system(cmd.c_str());
    CliResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = readWhole(dir / "out");
    r.err = readWhole(dir / "err");
    return r;
}

} // namespace korvana::test
