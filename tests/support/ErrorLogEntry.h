#pragma once
// Reading back what the error log wrote.

#include <cstddef>
#include <optional>
#include <string>

namespace korvana::test {

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

} // namespace korvana::test
