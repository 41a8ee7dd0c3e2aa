#include "cli/equation_report.h"

#include "cli/json_text.h"

namespace valdrex::cli {
namespace {

void AppendLine(std::string& out, std::string_view text) {
    out += text;
    out += '\n';
}

void AppendStringArray(std::string& out, std::span<const std::string> texts, bool skipEmpty) {
    out += '[';
    bool first = true;
    for (const std::string& text : texts) {
        if (skipEmpty && text.empty())
            continue;
        if (!first)
            out += ',';
        first = false;
        AppendJsonString(out, text);
    }
    out += ']';
}

std::string_view IconName(BoxIcon icon) {
    return icon == BoxIcon::Critical ? "critical" : "none";
}

// {"re": …, "im": …, "multiplicity": …, "radius": …, "exact": … or null, "text": …} for each.
void AppendAllRoots(std::string& out, std::span<const FoundRoot> roots) {
    out += '[';
    for (std::size_t i = 0; i < roots.size(); ++i) {
        const FoundRoot& root = roots[i];
        if (i > 0)
            out += ',';
        out += "{\"re\":";
        AppendJsonNumber(out, root.re);
        out += ",\"im\":";
        AppendJsonNumber(out, root.im);
        out += ",\"multiplicity\":";
        out += std::to_string(root.multiplicity);
        out += ",\"radius\":";
        AppendJsonNumber(out, root.radius);
        out += ",\"exact\":";
        if (root.exact.empty())
            out += "null";
        else
            AppendJsonString(out, root.exact);
        out += ",\"text\":";
        AppendJsonString(out, root.text);
        out += '}';
    }
    out += ']';
}

} // namespace

void AppendPlainReport(std::string& out, const EquationReport& report) {
    const SolveResult& result = report.result;
    AppendLine(out, result.equation);
    for (const std::string& line : result.lines)
        AppendLine(out, line);
    if (!result.status.empty())
        AppendLine(out, result.status);
    if (!result.factor.empty()) {
        out += "Irreducible factor: ";
        AppendLine(out, result.factor);
    }
    if (report.testInput && !report.testOutput.empty()) {
        out += "P(";
        out += *report.testInput;
        out += ") =";
        AppendLine(out, report.testOutput);
    }
}

void AppendErrorBoxTexts(std::string& err, const EquationReport& report) {
    for (const ErrorBox& box : report.errors) {
        if (report.line > 0)
            err += "line " + std::to_string(report.line) + ": ";
        AppendLine(err, box.text);
    }
}

void AppendJsonReport(std::string& out, const EquationReport& report) {
    const SolveResult& result = report.result;
    out += '{';
    if (report.line > 0) {
        out += "\"line\":";
        out += std::to_string(report.line);
        out += ',';
    }
    out += "\"equation\":";
    AppendJsonString(out, result.equation);
    out += ",\"lines\":";
    AppendStringArray(out, result.lines, false);
    out += ",\"roots\":";
    AppendStringArray(out, result.rootTexts, true);
    out += ",\"status\":";
    AppendJsonString(out, result.status);
    out += ",\"factor\":";
    AppendJsonString(out, result.factor);
    out += ",\"factor_coefficients\":";
    if (result.factorCoefficients) {
        out += '[';
        for (std::size_t i = 0; i < result.factorCoefficients->size(); ++i) {
            if (i > 0)
                out += ',';
            AppendJsonNumber(out, (*result.factorCoefficients)[i]);
        }
        out += ']';
    } else {
        out += "null";
    }
    if (report.listsAllRoots) {
        out += ",\"all_roots\":";
        AppendAllRoots(out, result.allRoots);
    }
    out += ",\"test\":";
    if (report.testInput) {
        out += "{\"x\":";
        AppendJsonString(out, *report.testInput);
        out += ",\"value\":";
        if (report.testOutput.empty())
            out += "null";
        else
            AppendJsonString(out, report.testOutput);
        out += '}';
    } else {
        out += "null";
    }
    out += ",\"errors\":[";
    for (std::size_t i = 0; i < report.errors.size(); ++i) {
        const ErrorBox& box = report.errors[i];
        if (i > 0)
            out += ',';
        out += "{\"text\":";
        AppendJsonString(out, box.text);
        out += ",\"title\":";
        AppendJsonString(out, box.title);
        out += ",\"icon\":";
        AppendJsonString(out, IconName(box.icon));
        out += '}';
    }
    out += "],\"record\":";
    AppendJsonString(out, result.record.value_or(std::string_view()));
    out += "}\n";
}

void AppendReport(std::string& out, std::string& err, bool json, const EquationReport& report) {
    if (json) {
        AppendJsonReport(out, report);
        return;
    }
    AppendPlainReport(out, report);
    AppendErrorBoxTexts(err, report);
}

void AppendJsonInvalidLine(std::string& out, int line, std::string_view error) {
    out += "{\"line\":";
    out += std::to_string(line);
    out += ",\"error\":";
    AppendJsonString(out, error);
    out += "}\n";
}

} // namespace valdrex::cli
