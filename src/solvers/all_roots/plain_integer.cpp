#include "solvers/all_roots/plain_integer.h"

namespace valdrex {

bool ReadPlainInteger(std::string_view s, long& value) {
    std::size_t i = 0;
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '-' || s[0] == '+'))
        i = 1;
    if (s.size() == i || s.size() - i > 18)
        return false;
    long n = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        n = n * 10 + (s[i] - '0');
    }
    value = negative ? -n : n;
    return true;
}

} // namespace valdrex
