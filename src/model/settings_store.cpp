#include "model/settings_store.h"

#include <algorithm>
#include <cctype>

namespace valdrex {
namespace {

std::string FoldCase(std::string_view key) {
    std::string folded(key);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

} // namespace

std::optional<std::string> MemorySettingsStore::Read(std::string_view section,
                                                     std::string_view key) const {
    const auto found = entries_.find({std::string(section), FoldCase(key)});
    if (found == entries_.end())
        return std::nullopt;
    return found->second;
}

void MemorySettingsStore::Write(std::string_view section, std::string_view key,
                                std::string_view value) {
    entries_[{std::string(section), FoldCase(key)}] = std::string(value);
}

} // namespace valdrex
