#pragma once

#include <string>
#include <string_view>

namespace valdrex {

// A module of the program's own, loaded on first use so that its libraries cost nothing at
// start: looked for beside the program's real file (where an installation puts it), else at
// `builtPath`, where the build made it.
class ProgramModule {
  public:
    ProgramModule(std::string_view fileName, const std::string& builtPath);

    // The named entry point, or nullptr (error() then says why).
    void* Symbol(const char* name);
    const std::string& error() const { return error_; }

  private:
    void* handle_ = nullptr;
    std::string error_;
};

} // namespace valdrex
