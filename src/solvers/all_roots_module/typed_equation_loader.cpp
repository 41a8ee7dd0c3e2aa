// The typed-equation reading for the programs: it lives in the all-roots module, loaded on first
// use, so that a program reading plain numbers never loads FLINT.
#include "solvers/typed_equation/typed_equation.h"

#include "core/platform_files.h"
#include "solvers/all_roots_module/module_entry.h"
#include "solvers/all_roots_module/typed_equation_entry.h"

namespace valdrex {
namespace {

struct LoadedEntries {
    const TypedEquationEntries* entries = nullptr;
    std::string error;
};

const LoadedEntries& Entries() {
    static const LoadedEntries loaded = [] {
        ProgramModule module(kAllRootsModuleName);
        const auto entry = reinterpret_cast<decltype(&valdrex_typed_equation_entries)>(
            module.Symbol(kTypedEquationEntryName));
        return LoadedEntries{entry ? entry() : nullptr,
                             "the all-roots module could not be loaded: " + module.error()};
    }();
    return loaded;
}

} // namespace

TypedEquation ParseTypedEquation(std::string_view utf8) {
    const LoadedEntries& loaded = Entries();
    if (loaded.entries != nullptr)
        return loaded.entries->parse(utf8);
    TypedEquation failed;
    failed.error = loaded.error;
    return failed;
}

CoefficientReading ReadCoefficientText(std::string_view text) {
    const LoadedEntries& loaded = Entries();
    if (loaded.entries != nullptr)
        return loaded.entries->readCoefficient(text);
    return {{}, loaded.error};
}

std::optional<std::string> ExactEquationText(const CoefficientTexts& texts) {
    const LoadedEntries& loaded = Entries();
    if (loaded.entries != nullptr)
        return loaded.entries->exactEquationText(texts);
    return std::nullopt;
}

} // namespace valdrex
