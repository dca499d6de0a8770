#include "record/RecordFileName.h"

namespace korvana {

MOveTree::RecordFormat recordFormatOfFilterEntry(int entry)
{
    switch (entry) {
    case 1: return MOveTree::FormatSgf;
    case 2: return MOveTree::FormatBan;
    case 3: return MOveTree::FormatPos;
    default: return MOveTree::FormatUnknown;
    }
}

std::string recordFileName(const std::string &name, MOveTree::RecordFormat format)
{
    const char *lower;
    const char *upper;
    switch (format) {
    case MOveTree::FormatSgf:
        lower = ".sgf";
        upper = ".SGF";
        break;
    case MOveTree::FormatBan:
        lower = ".ban";
        upper = ".BAN";
        break;
    case MOveTree::FormatPos:
        lower = ".pos";
        upper = ".POS";
        break;
    default: return name;
    }
    if (name.find(lower) != std::string::npos || name.find(upper) != std::string::npos)
        return name;
    return name + lower;
}

} // namespace korvana
