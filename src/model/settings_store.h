#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace valdrex {

// Per-user settings kept as texts by section and key. Key names are compared without regard
// to case: "File for saving" and "File for Saving" name one entry.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    virtual std::optional<std::string> Read(std::string_view section,
                                            std::string_view key) const = 0;
    // Replaces the entry whatever the case of its stored key.
    virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// Settings held in memory only.
class MemorySettingsStore : public SettingsStore {
  public:
    std::optional<std::string> Read(std::string_view section, std::string_view key) const override;
    void Write(std::string_view section, std::string_view key, std::string_view value) override;

  private:
    std::map<std::pair<std::string, std::string>, std::string> entries_; // key folded to lower case
};

} // namespace valdrex
