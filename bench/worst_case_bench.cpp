// The slowest solve of each method over the fuzzers' seed corpus, every file read as model
// input (see fuzz/model_input.h). A solving command must end within 100 ms whatever its texts;
// only a long bisection scan, which the user asked for and can cancel, may take longer, so
// scans are cancelled at their first progress report as the fuzzer does.

#include "model_input.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace valdrex {
namespace {

struct CorpusFile {
    std::string name; // "<target>/<file>"
    fuzz::ModelInput input;
};

const std::vector<CorpusFile>& Corpus() {
    static const std::vector<CorpusFile> corpus = [] {
        std::vector<CorpusFile> files;
        namespace fs = std::filesystem;
        for (const auto& entry : fs::recursive_directory_iterator(VALDREX_FUZZ_CORPUS_DIR)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::string bytes(std::istreambuf_iterator<char>(in), {});
            files.push_back({entry.path().parent_path().filename().string() + "/" +
                                 entry.path().filename().string(),
                             fuzz::ReadModelInput(bytes)});
        }
        return files;
    }();
    return corpus;
}

// The processor time of this thread, so that other work on the machine does not count.
double ThreadMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Each file's mean time over the iterations; the slowest file is reported.
void BM_WorstCase(benchmark::State& state, SolveMethod method) {
    const std::vector<CorpusFile>& corpus = Corpus();
    std::vector<double> totalMs(corpus.size(), 0);
    for (auto _ : state) {
        for (std::size_t i = 0; i < corpus.size(); ++i) {
            ModuleState module;
            fuzz::ApplySettings(corpus[i].input, module);
            MainModel model(module);
            fuzz::TypeBoxes(corpus[i].input, model);
            const double start = ThreadMs();
            benchmark::DoNotOptimize(model.Solve(method, module.Options, fuzz::CancelScan));
            totalMs[i] += ThreadMs() - start;
        }
    }
    const std::size_t worst = static_cast<std::size_t>(
        std::max_element(totalMs.begin(), totalMs.end()) - totalMs.begin());
    state.counters["worst_ms"] = totalMs[worst] / static_cast<double>(state.iterations());
    state.counters["files"] = static_cast<double>(corpus.size());
    state.SetLabel("slowest: " + corpus[worst].name);
}

BENCHMARK_CAPTURE(BM_WorstCase, exact, SolveMethod::Exact)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorstCase, rational, SolveMethod::Rational)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorstCase, bairstow, SolveMethod::Bairstow)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorstCase, bisection, SolveMethod::Bisection)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WorstCase, newton, SolveMethod::Newton)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace valdrex
