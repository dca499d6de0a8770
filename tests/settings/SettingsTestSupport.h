#pragma once
// Shared by the settings tests: a fresh error log per test, and the text a
// registry writes.

#include "support/CapturedLog.h"

#include "settings/AppRegistryEx.h"

#include <sstream>

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
