#include "core/failure.h"

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

} // namespace valdrex
