#include "dialogs/readme_text.h"

#include <fstream>
#include <iterator>

namespace valdrex {

std::string ReadmeText(std::string_view contents) {
    std::string text;
    std::size_t i = 0;
    while (i < contents.size()) {
        const std::size_t end = contents.find_first_of("\r\n", i);
        if (i > 0) // every line after the first follows a line end
            text += "\r\n";
        if (end == std::string_view::npos) {
            text += contents.substr(i);
            break;
        }
        text += contents.substr(i, end - i);
        i = end + 1;
        if (contents[end] == '\r' && i < contents.size() && contents[i] == '\n')
            ++i;
    }
    return text;
}

std::string ReadReadmeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    const std::string contents{std::istreambuf_iterator<char>(file),
                               std::istreambuf_iterator<char>()};
    return ReadmeText(contents);
}

} // namespace valdrex
