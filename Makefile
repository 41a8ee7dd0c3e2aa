# Entry points: `make run` and `make test` work from a fresh clone.
BUILD_DIR      ?= build
SANITIZE_DIR   ?= build-sanitize
FUZZ_DIR       ?= build-fuzz
FUZZ_SECONDS   ?= 60
JOBS           ?= $(shell nproc)

.PHONY: deps configure build run test test-sanitize fuzz bench clean format-check lint mutate

deps:
	./scripts/install-deps

configure: deps
	cmake --preset release

build: configure
	cmake --build --preset release -j $(JOBS)

run: build
	./$(BUILD_DIR)/src/app/valdrex

test: build
	QT_QPA_PLATFORM=offscreen ctest --preset release -j $(JOBS)

test-sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ctest --preset sanitize -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS under AddressSanitizer and UndefinedBehaviorSanitizer,
# built with clang in a project of its own.
fuzz: deps
	./scripts/install-fuzz-deps
	cmake -S fuzz -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build $(FUZZ_DIR) --target valdrex_fuzzers -j $(JOBS)
	./fuzz/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: build
	./$(BUILD_DIR)/bench/valdrex_bench
	./$(BUILD_DIR)/bench/solver_latency_bench
	./$(BUILD_DIR)/bench/plot_bench
	python3 bench/throughput.py $(BUILD_DIR)
	python3 bench/viewer_bench.py $(BUILD_DIR)
	python3 bench/startup.py $(BUILD_DIR)

# Fails on any tracked C++ file that clang-format would change.
format-check: deps
	./scripts/format-check

# clang-tidy with the checks of .clang-tidy over every source of src/ and the headers it
# includes from src/; any finding fails, since .clang-tidy makes every warning an error.
lint: build
	run-clang-tidy-14 -p $(BUILD_DIR) -quiet -j $(JOBS) '$(CURDIR)/src/.*\.cpp$$'

# A seeded sample of MUTANTS single faults planted in src/ (or only below MUTATE_UNDER, e.g.
# src/solvers/all_roots) and the share the tests notice; slow (one incremental build per
# mutant), so not part of `make test`.
MUTANTS      ?= 60
SEED         ?= 1
MUTATE_UNDER ?=
mutate: build
	./scripts/mutate --mutants $(MUTANTS) --seed $(SEED) --build-dir $(BUILD_DIR) \
		$(addprefix --under ,$(MUTATE_UNDER))

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)

# The Debian package of the release build, written to $(BUILD_DIR).
.PHONY: package
package: build
	cmake --build --preset release --target package
