#pragma once
// A fresh directory per test, removed with everything in it afterwards.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

struct TempDir {
    std::filesystem::path path;
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "korvana-settings-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string &name) const { return (path / name).string(); }
    /// Names of everything in the directory.
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path), {}));
    }
};

inline std::string readAll(const std::string &name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeAll(const std::string &name, const std::string &text)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

/// The message of one log entry (without its CR) when it starts with a time
/// stamp "yyyy/mm/dd hh:mm.ss" and " : "; none otherwise.
inline std::optional<std::string> messageOfEntry(const std::string &entry)
{
    const std::string shape = "dddd/dd/dd dd:dd.dd : ";
    if (entry.size() < shape.size())
        return std::nullopt;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        bool ok = shape[i] == 'd' ? (entry[i] >= '0' && entry[i] <= '9') : entry[i] == shape[i];
        if (!ok)
            return std::nullopt;
    }
    return entry.substr(shape.size());
}
