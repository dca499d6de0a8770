#include "settings/KvParam.h"

namespace korvana {

namespace {

struct Default {
    const char *section;
    const char *key;
    const char *value;
};

// The order here is the order of the file.
constexpr Default defaults[] = {
    {"Korvana", "Version", KvParam::VersionText},
    {"System", "Language", "0"},
    {"System", "DefaultGameFileFormat", "1"},
    {"System", "DefaultClipboardTextFormat", ""},
    {"System", "ViewBoardNumbering", "1"},
    {"System", "ViewLatestMove", "0"},
    {"System", "ViewWarning", "0"},
    {"System", "ViewToolBar", "1"},
    {"System", "ViewAxisCharacter", "1"},
    {"System", "ViewGameTree", "0"},
    {"Option", "GameRule", "0"},
    {"Option", "InputAssistant", "0"},
    {"Option", "SountEffect", "1"},
    {"Option", "BoardColor", "962532"},
    {"Option", "DefaultBoardColor", "962532"},
    {"Database", "DatabaseDirName", ""},
    {"Database", "ViewDatabase", "0"},
    {"Database", "EnableEditing", "0"},
    {"Database", "AutomaticallyUpdate", "0"},
    {"Database", "NewDataID", "1024"},
    {"WIN32", "PosWinForm", "-1,-1"},
    {"WIN32", "PosDBDirForm", "-1,-1"},
    {"WIN32", "PosTreeForm", "-1,-1"},
    {"WIN32", "SizeTreeForm", "415,446"},
};

} // namespace

KvParam::KvParam()
{
    Initialise();
}

void KvParam::Initialise()
{
    AppRegistryEx::Initialise();
    for (const Default &d : defaults)
        AddSection(d.section).Set(d.key, d.value);
}

} // namespace korvana
