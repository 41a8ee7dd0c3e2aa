#pragma once

#include <stdexcept>
#include <string>

// Run-time failures and the message boxes that report them.

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

// The application's title, used for settings, captions and message boxes.
inline constexpr char kAppTitle[] = "Valdrex";

enum class BoxIcon { None, Critical };

// A message box to show: its text, icon and title, and the failure it reports (number 0 for a
// box that reports no run-time failure). Windows display it; nothing here shows it.
struct ErrorBox {
    std::string text;
    BoxIcon icon = BoxIcon::None;
    std::string title;
    int number = 0;
    std::string description;

    bool operator==(const ErrorBox&) const = default;
};

// "n. description", no icon, the application's title.
ErrorBox PlainErrorBox(const RuntimeFailure& failure);
// "Error n. description", critical icon, the application's title.
ErrorBox CriticalErrorBox(const RuntimeFailure& failure);
// "Error  n. description" (the number with its sign place), critical icon, title "Error".
ErrorBox SolverErrorBox(const RuntimeFailure& failure);
// The help command's box: the plain text with the critical icon and the application's title.
ErrorBox HelpErrorBox(const RuntimeFailure& failure);
// The rational-root solver's box: the plain text with the critical icon and title "Error".
ErrorBox RationalErrorBox(const RuntimeFailure& failure);

} // namespace valdrex
