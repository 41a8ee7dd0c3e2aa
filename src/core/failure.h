#pragma once

#include <stdexcept>
#include <string>

namespace valdrex {

// A run-time failure: carries the number and description shown by the error message boxes.
class RuntimeFailure : public std::runtime_error {
  public:
    RuntimeFailure(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const { return number_; }
    std::string description() const { return what(); }

  private:
    int number_;
};

// Arithmetic failures use numbers above the range of errno, so file failures (which carry
// errno and the system's description) never share a number with them.
inline constexpr int kOverflowNumber = 1001;
inline constexpr int kDivisionByZeroNumber = 1002;
inline constexpr int kInvalidArgumentNumber = 1003;
inline constexpr int kSubscriptOutOfRangeNumber = 1004;

[[noreturn]] void FailOverflow();
[[noreturn]] void FailDivisionByZero();
[[noreturn]] void FailInvalidArgument();
// An index beyond a fixed-size table, such as a thirteenth root for the twelve root texts.
[[noreturn]] void FailSubscriptOutOfRange();
// errno and its system description; numbers that are not positive become a generic I/O failure.
[[noreturn]] void FailFile(int errnoValue);
RuntimeFailure FileFailure(int errnoValue);

} // namespace valdrex
