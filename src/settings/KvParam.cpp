#include "settings/KvParam.h"

namespace korvana {

namespace {

struct Default {
    template <typename T> constexpr Default(SettingKey<T> k, const char *v) : section(k.section), key(k.key), value(v)
    {}
    const char *section;
    const char *key;
    const char *value;
};

// The order here is the order of the file.
constexpr Default defaults[] = {
    {Settings::Version, KvParam::VersionText},
    {Settings::Language, "0"},
    {Settings::DefaultGameFileFormat, "1"},
    {Settings::DefaultClipboardTextFormat, ""},
    {Settings::ViewBoardNumbering, "1"},
    {Settings::ViewLatestMove, "0"},
    {Settings::ViewWarning, "0"},
    {Settings::ViewToolBar, "1"},
    {Settings::ViewAxisCharacter, "1"},
    {Settings::ViewGameTree, "0"},
    {Settings::Rule, "0"},
    {Settings::InputAssistant, "0"},
    {Settings::SoundEffect, "1"},
    {Settings::BoardColor, "962532"},
    {Settings::DefaultBoardColor, "962532"},
    {Settings::DatabaseDirName, ""},
    {Settings::ViewDatabase, "0"},
    {Settings::EnableEditing, "0"},
    {Settings::AutomaticallyUpdate, "0"},
    {Settings::NewDataID, "1024"},
    {Settings::PosWinForm, "-1,-1"},
    {Settings::PosDBDirForm, "-1,-1"},
    {Settings::PosTreeForm, "-1,-1"},
    {Settings::SizeTreeForm, "415,446"},
};

} // namespace

GameRule KvParam::get(SettingKey<GameRule> k) const { return GameRuleOf(GetInt(k.section, k.key)); }

KvParam::KvParam() { Initialise(); }

void KvParam::Initialise()
{
    AppRegistryEx::Initialise();
    for (const Default &d : defaults)
        AddSection(d.section).Set(d.key, d.value);
}

} // namespace korvana
