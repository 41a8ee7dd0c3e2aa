#pragma once

#include <algorithm>
#include <cctype>
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
    std::optional<std::string> Read(std::string_view section, std::string_view key) const override {
        const auto found = entries_.find({std::string(section), FoldCase(key)});
        if (found == entries_.end())
            return std::nullopt;
        return found->second;
    }
    void Write(std::string_view section, std::string_view key, std::string_view value) override {
        entries_[{std::string(section), FoldCase(key)}] = std::string(value);
    }

  private:
    static std::string FoldCase(std::string_view key) {
        std::string folded(key);
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return folded;
    }

    std::map<std::pair<std::string, std::string>, std::string> entries_; // key folded to lower case
};

} // namespace valdrex
