#pragma once
// KvParam: the program's settings. One for the whole run, owned by the main
// window; every reader asks it for the key it needs when it needs it.

#include "settings/AppRegistryEx.h"
#include "settings/SettingKeys.h"

#include <optional>
#include <string>

namespace korvana {

class KvParam : public AppRegistryEx {
public:
    /// The program's one-line version text, also the default of Korvana/Version.
    static constexpr const char *VersionText = "Korvana Version 3.0PR1.0";

    /// All default sections and keys registered.
    KvParam();

    /// "korvana_".
    std::string Prefix() const override { return "korvana_"; }
    /// Registers the default sections and keys, in the order they are written.
    void Initialise() override;

    // Typed access by the names of SettingKeys.h. A flag is on for any number
    // but 0; a missing text reads as empty; the rule is Other past 0..2.
    bool get(SettingKey<bool> k) const { return GetInt(k.section, k.key) != 0; }
    int get(SettingKey<int> k) const { return GetInt(k.section, k.key); }
    std::string get(SettingKey<std::string> k) const { return GetText(k.section, k.key).value_or(std::string()); }
    GameRule get(SettingKey<GameRule> k) const;
    SettingPoint get(SettingKey<SettingPoint> k) const
    {
        return {GetPointX(k.section, k.key), GetPointY(k.section, k.key)};
    }
    void set(SettingKey<bool> k, bool on) { SetInt(k.section, k.key, on ? 1 : 0); }
    void set(SettingKey<int> k, int n) { SetInt(k.section, k.key, n); }
    void set(SettingKey<std::string> k, std::string text) { SetText(k.section, k.key, std::move(text)); }
    void set(SettingKey<GameRule> k, GameRule rule) { SetInt(k.section, k.key, static_cast<int>(rule)); }
    void set(SettingKey<SettingPoint> k, SettingPoint p) { SetPoint(k.section, k.key, p.x, p.y); }

    /// Any key's value as written, for a field that edits it as text; none when missing.
    template <typename T> std::optional<std::string> text(SettingKey<T> k) const { return GetText(k.section, k.key); }
    /// Writes any key's value as it is given.
    template <typename T> void setText(SettingKey<T> k, std::string text)
    {
        SetText(k.section, k.key, std::move(text));
    }
};

} // namespace korvana
