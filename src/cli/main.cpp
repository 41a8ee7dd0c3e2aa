#include "cli/batch_line.h"
#include "cli/cli_options.h"
#include "cli/equation_report.h"
#include "cli/equation_runner.h"
#include "cli/help_text.h"
#include "cli/line_reader.h"
#include "cli/output_buffers.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace valdrex::cli {
namespace {

constexpr int kExitInvalid = 1;
constexpr int kExitUsage = 2;
constexpr char kProgram[] = "valdrex-solve";

void AppendReport(OutputBuffers& io, const CliOptions& options, const EquationReport& report) {
    if (options.json) {
        AppendJsonReport(io.out, report);
        return;
    }
    AppendPlainReport(io.out, report);
    AppendErrorBoxTexts(io.err, report);
}

int RunOne(const CliOptions& options) {
    EquationRunner runner(options);
    const std::vector<std::string_view> coefficients(options.coefficients.begin(),
                                                     options.coefficients.end());
    EquationReport report;
    if (const std::optional<std::string> error = runner.Solve(coefficients, report)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error->c_str());
        return kExitUsage;
    }
    OutputBuffers io;
    AppendReport(io, options, report);
    io.Flush();
    return runner.saveFailed() ? kExitInvalid : 0;
}

int RunBatch(const CliOptions& options) {
    EquationRunner runner(options);
    OutputBuffers io;
    LineReader reader(STDIN_FILENO);
    BatchLine parsed;
    EquationReport report;
    bool anyInvalid = false;
    const auto invalid = [&](int lineNumber, const std::string& error) {
        anyInvalid = true;
        if (options.json) {
            AppendJsonInvalidLine(io.out, lineNumber, error);
        } else {
            io.err += kProgram;
            io.err += ": line " + std::to_string(lineNumber) + ": " + error + "\n";
        }
    };

    std::string_view line;
    int lineNumber = 0;
    const auto flush = [&io] { io.Flush(); };
    while (reader.Next(line, flush)) {
        ++lineNumber;
        ParseBatchLine(line, parsed);
        if (parsed.kind == BatchLine::Kind::Skip)
            continue;
        if (parsed.kind == BatchLine::Kind::Invalid) {
            invalid(lineNumber, parsed.error);
            continue;
        }
        report.line = lineNumber;
        const std::span<const std::string_view> coefficients(parsed.coefficients.data(),
                                                             parsed.count);
        if (const std::optional<std::string> error = runner.Solve(coefficients, report)) {
            invalid(lineNumber, *error);
            continue;
        }
        AppendReport(io, options, report);
        if (!options.json)
            io.out += '\n';
        io.FlushIfFull();
    }
    io.Flush();
    if (reader.error() != 0) {
        std::fprintf(stderr, "%s: reading standard input: %s\n", kProgram,
                     std::strerror(reader.error()));
        return kExitInvalid;
    }
    return anyInvalid || runner.saveFailed() ? kExitInvalid : 0;
}

int Main(int argc, char** argv) {
    const ParsedCommandLine parsed =
        ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgram, parsed.error.c_str(),
                     kProgram);
        return kExitUsage;
    }
    switch (parsed.action) {
    case CliAction::Help:
        std::fputs(HelpText().c_str(), stdout);
        return 0;
    case CliAction::Version:
        std::puts(VersionText().c_str());
        return 0;
    case CliAction::Run:
        break;
    }
    return parsed.options.batch ? RunBatch(parsed.options) : RunOne(parsed.options);
}

} // namespace
} // namespace valdrex::cli

int main(int argc, char** argv) {
    return valdrex::cli::Main(argc, argv);
}
