#include "cli/database_module_abi.h"
#include "core/failure.h"
#include "database/database_file.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

extern "C" __attribute__((visibility("default"))) int
valdrex_append_database_line(const char* path, const char* line, std::size_t length,
                             int truncateFirst, char* description, std::size_t capacity) {
    static_assert(
        std::is_same_v<decltype(valdrex_append_database_line), AppendDatabaseLineFunction>);
    try {
        valdrex::AppendLine(path, std::string_view(line, length), truncateFirst != 0);
        return 0;
    } catch (const valdrex::RuntimeFailure& f) {
        const std::string text = f.description();
        const std::size_t kept = std::min(text.size(), capacity - 1);
        std::memcpy(description, text.data(), kept);
        description[kept] = '\0';
        return f.number();
    }
}
