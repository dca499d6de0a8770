#pragma once
// Where the program finds itself and keeps its own files. The settings file
// and the default database directory live beside the executable; when the
// program is installed where its user cannot write, the per-user
// configuration directory stands in for that place.

#include <optional>
#include <string>

namespace korvana {

/// Full path of the running executable, resolved from the process itself
/// (not from argv[0] or the working directory); empty when unknown.
std::string executablePath();

/// The text up to and including the last '/' of a path; empty when there is none.
std::string directoryPart(const std::string &path);

/// Login name of the user running the program; none when it cannot be found
/// or could not be part of a file name.
std::optional<std::string> loginName();

/// $XDG_CONFIG_HOME/korvana/ (an absolute XDG_CONFIG_HOME only), else
/// $HOME/.config/korvana/; empty when no home is known. Not created here.
std::string perUserDirectory();

/// The program directory or its per-user stand-in: `directory` (given with
/// its trailing '/') when it is a directory the user can write to; otherwise
/// perUserDirectory(), created when missing. When the stand-in cannot be
/// made either, `directory` itself, so that failures show where they happen.
std::string programDirectory(const std::string &directory);

/// programDirectory of the running executable's directory. The settings
/// file lives here, and the database directory defaults to it + "adb/".
std::string programDirectory();

} // namespace korvana
