#pragma once
// Scratch directories and whole-file helpers for the database tests.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace korvana::test {

/// A fresh directory under /tmp, removed with its contents at the end.
class ScratchDir {
public:
    ScratchDir()
    {
        char pattern[] = "/tmp/korvana-db-XXXXXX";
        path_ = ::mkdtemp(pattern) ? pattern : "";
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    /// The directory with a trailing '/', as the database wants it.
    std::string dir() const { return path_ + "/"; }
    std::string file(const std::string &name) const { return dir() + name; }

private:
    std::string path_;
};

inline void writeText(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

inline std::string readText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace korvana::test
