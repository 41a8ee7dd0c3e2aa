#pragma once

#include "model/settings_store.h"

namespace valdrex {

// Settings in the user's configuration folder: Valdrex/Valdrex.ini under XDG_CONFIG_HOME
// (or ~/.config). Each call opens the store afresh, so every write is on disk at once.
class QtSettingsStore : public SettingsStore {
  public:
    std::optional<std::string> Read(std::string_view section, std::string_view key) const override;
    void Write(std::string_view section, std::string_view key, std::string_view value) override;
};

} // namespace valdrex
