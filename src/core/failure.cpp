#include "core/failure.h"

#include "core/number_text.h"

#include <cerrno>
#include <cstring>

namespace valdrex {

void FailOverflow() {
    throw RuntimeFailure(kOverflowNumber, "Overflow");
}

void FailDivisionByZero() {
    throw RuntimeFailure(kDivisionByZeroNumber, "Division by zero");
}

void FailInvalidArgument() {
    throw RuntimeFailure(kInvalidArgumentNumber, "Invalid argument");
}

void FailSubscriptOutOfRange() {
    throw RuntimeFailure(kSubscriptOutOfRangeNumber, "Subscript out of range");
}

RuntimeFailure FileFailure(int errnoValue) {
    if (errnoValue <= 0)
        errnoValue = EIO;
    return RuntimeFailure(errnoValue, std::strerror(errnoValue));
}

void FailFile(int errnoValue) {
    throw FileFailure(errnoValue);
}

namespace {

std::string PlainText(const RuntimeFailure& f) {
    return NumberToText(static_cast<double>(f.number())) + ". " + f.description();
}

} // namespace

ErrorBox PlainErrorBox(const RuntimeFailure& f) {
    return {PlainText(f), BoxIcon::None, kAppTitle, f.number(), f.description()};
}

ErrorBox CriticalErrorBox(const RuntimeFailure& f) {
    return {"Error " + PlainText(f), BoxIcon::Critical, kAppTitle, f.number(), f.description()};
}

ErrorBox SolverErrorBox(const RuntimeFailure& f) {
    return {"Error " + NumberToStr(static_cast<double>(f.number())) + ". " + f.description(),
            BoxIcon::Critical, "Error", f.number(), f.description()};
}

ErrorBox HelpErrorBox(const RuntimeFailure& f) {
    return {PlainText(f), BoxIcon::Critical, kAppTitle, f.number(), f.description()};
}

ErrorBox RationalErrorBox(const RuntimeFailure& f) {
    return {PlainText(f), BoxIcon::Critical, "Error", f.number(), f.description()};
}

} // namespace valdrex
