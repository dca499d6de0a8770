#pragma once
// Reading game records for the CLI subcommands that answer with one line of their own.

#include <iostream>
#include <string>

namespace korvana {

class MOveTree;

/// Silences the standard error stream while alive: the record code reports details
/// ("error : Illegal move") there, and the subcommands print their own message instead.
class QuietDiagnostics {
public:
    QuietDiagnostics() : saved_(std::cerr.rdbuf(nullptr)) {}
    ~QuietDiagnostics() { std::cerr.rdbuf(saved_); }
    QuietDiagnostics(const QuietDiagnostics &) = delete;
    QuietDiagnostics &operator=(const QuietDiagnostics &) = delete;

private:
    std::streambuf *saved_;
};

/// Loads `path` into `game` quietly and, as after Open, puts the main line on the board.
/// The result of MOveTree::Load (1 on success, 0 on failure; game.loadError() says why).
int loadMainLine(MOveTree &game, const std::string &path);

} // namespace korvana
