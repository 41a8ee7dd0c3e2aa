#pragma once

#include <string_view>

namespace valdrex {

// Writes every byte to the file descriptor, again after a short write or an interruption;
// returns 0 or the errno of the write that failed.
int WriteAll(int fd, std::string_view bytes);

} // namespace valdrex
