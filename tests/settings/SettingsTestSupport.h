#pragma once
// Shared by the settings tests: a fresh error log per test, and the text a
// registry writes.

#include "TempDir.h"

#include "log/ErrorLog.h"
#include "settings/AppRegistryEx.h"

#include <regex>
#include <sstream>
#include <vector>

/// Points the program's error log at a file of its own for one test.
struct CapturedLog {
    TempDir dir;
    std::string before = korvana::ErrorLog::instance().fileName();
    CapturedLog() { korvana::ErrorLog::instance().setFileName(dir.file("error.log")); }
    ~CapturedLog() { korvana::ErrorLog::instance().setFileName(before); }
    /// The messages logged, without their time stamps.
    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        std::string text = readAll(dir.file("error.log"));
        static const std::regex entry(R"((\d{4}/\d{2}/\d{2} \d{2}:\d{2}\.\d{2}) : ([^\r]*)\r)");
        for (std::sregex_iterator it(text.begin(), text.end(), entry), end; it != end; ++it)
            out.push_back((*it)[2]);
        return out;
    }
};

inline std::string savedText(const korvana::AppRegistryEx &registry)
{
    std::ostringstream out;
    registry.WriteSections(out);
    return out.str();
}

inline void loadText(korvana::AppRegistryEx &registry, const std::string &text)
{
    std::istringstream in(text);
    registry.ReadSections(in);
}
