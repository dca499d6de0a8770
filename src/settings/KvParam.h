#pragma once
// KvParam: the program's settings. One for the whole run, owned by the main
// window; every reader asks it for the key it needs when it needs it.

#include "settings/AppRegistryEx.h"

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
};

} // namespace korvana
