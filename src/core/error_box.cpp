#include "core/error_box.h"

#include "core/number_text.h"

namespace valdrex {
namespace {

std::string PlainText(const RuntimeFailure& f) {
    return NumberToText(static_cast<double>(f.number())) + ". " + f.description();
}

} // namespace

ErrorBox PlainErrorBox(const RuntimeFailure& f) {
    return {PlainText(f), BoxIcon::None, kAppTitle};
}

ErrorBox CriticalErrorBox(const RuntimeFailure& f) {
    return {"Error " + PlainText(f), BoxIcon::Critical, kAppTitle};
}

ErrorBox SolverErrorBox(const RuntimeFailure& f) {
    return {"Error " + NumberToStr(static_cast<double>(f.number())) + ". " + f.description(),
            BoxIcon::Critical, "Error"};
}

ErrorBox HelpErrorBox(const RuntimeFailure& f) {
    return {PlainText(f), BoxIcon::Critical, kAppTitle};
}

ErrorBox RationalErrorBox(const RuntimeFailure& f) {
    return {PlainText(f), BoxIcon::Critical, "Error"};
}

} // namespace valdrex
