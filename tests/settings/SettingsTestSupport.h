#pragma once
// Shared by the settings tests: a fresh error log per test, and the text a
// registry writes.

#include "support/ErrorLogEntry.h"
#include "support/ScratchDir.h"

#include "log/ErrorLog.h"
#include "settings/AppRegistryEx.h"

#include <sstream>
#include <vector>

/// Points the program's error log at a file of its own for one test.
struct CapturedLog {
    korvana::test::ScratchDir dir;
    std::string before = korvana::ErrorLog::instance().fileName();
    CapturedLog() { korvana::ErrorLog::instance().setFileName(dir.file("error.log")); }
    ~CapturedLog() { korvana::ErrorLog::instance().setFileName(before); }
    /// The messages logged, without their time stamps.
    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        std::string text = korvana::test::readAll(dir.file("error.log"));
        std::size_t start = 0;
        for (std::size_t cr; (cr = text.find('\r', start)) != std::string::npos; start = cr + 1)
            out.push_back(korvana::test::messageOfEntry(text.substr(start, cr - start)).value_or("(not an entry)"));
        if (start != text.size())
            out.push_back("(unterminated)");
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
