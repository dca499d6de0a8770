#pragma once
// Points the program's error log at a scratch file for one test.

#include "support/ErrorLogEntry.h"
#include "support/ScratchDir.h"

#include "log/ErrorLog.h"

#include <string>
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
