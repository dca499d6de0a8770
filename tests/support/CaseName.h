#pragma once
// Names for parameterised test cases: ctest shows them, so they should read as
// the case does ("Black five" -> BlackFive) and stay the same from run to run.

#include <cctype>
#include <string>

namespace korvana::test {

/// The letters and digits of `words`, each word capitalised; "Empty" for none.
inline std::string caseName(const std::string &words)
{
    std::string name;
    bool wordStart = true;
    for (const char c : words) {
        const auto u = static_cast<unsigned char>(c);
        if (!std::isalnum(u)) {
            wordStart = true;
            continue;
        }
        name += wordStart ? static_cast<char>(std::toupper(u)) : c;
        wordStart = false;
    }
    return name.empty() ? "Empty" : name;
}

} // namespace korvana::test
