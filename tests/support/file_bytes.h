#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace valdrex {

inline std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The size of a file, 0 when there is none.
inline std::uintmax_t FileSize(const std::string& path) {
    std::error_code missing;
    const std::uintmax_t size = std::filesystem::file_size(path, missing);
    return missing ? 0 : size;
}

// The lines of `bytes` (a program's output, or a database file's with `end` CR LF), without their
// ends; a last line may lack its end.
inline std::vector<std::string> Lines(const std::string& bytes, const std::string& end = "\n") {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = bytes.find(end, start)) != std::string::npos;
         start = at + end.size())
        lines.push_back(bytes.substr(start, at - start));
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

} // namespace valdrex
