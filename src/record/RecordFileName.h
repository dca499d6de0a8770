#pragma once
// How the save command names a record file: the file dialog's filter list, and the
// extension its chosen entry adds to a name that does not already carry it.

#include "record/MOveTree.h"

#include <string>

namespace korvana {

/// The open and save dialogs' filter list; entry 1 SGF, 2 .ban, 3 .pos.
inline constexpr const char *RecordFileFilter =
    "SGF(*.sgf)|*.sgf|Gomoku Competition in Japan(*.ban)|*.ban|Computer Renju World Championship (*.pos)|*.pos";
/// The entry both dialogs start on.
inline constexpr int DefaultRecordFilterEntry = 2;

/// The record format of a filter entry (1..3); FormatUnknown for any other.
MOveTree::RecordFormat recordFormatOfFilterEntry(int entry);

/// `name` with ".sgf", ".ban" or ".pos" appended unless it contains that extension, in
/// lower or upper case, anywhere (mixed case such as ".Sgf" does not count).
std::string recordFileName(const std::string &name, MOveTree::RecordFormat format);

} // namespace korvana
