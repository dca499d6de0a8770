#pragma once
// A fresh directory per test, removed with everything in it afterwards, and
// whole-file helpers for the files tests put there.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>

namespace korvana::test {

class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvana-test-XXXXXX").string();
        // Throwing fails the test at once instead of letting it write elsewhere.
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("can't make a scratch directory from " + pattern);
        path_ = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    /// The directory itself.
    const std::filesystem::path &path() const { return path_; }
    /// The directory with a trailing '/', as the database and settings code want it.
    std::string dir() const { return path_.string() + "/"; }
    /// The path of `name` inside the directory.
    std::string file(const std::string &name) const { return (path_ / name).string(); }
    /// How many entries the directory holds (to catch temporary files left behind).
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    std::filesystem::path path_;
};

/// The whole file, or "" when it can't be read.
inline std::string readAll(const std::string &name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

/// Replaces the file's contents with `text`.
inline void writeAll(const std::string &name, const std::string &text)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

} // namespace korvana::test
