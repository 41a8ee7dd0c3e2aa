# Entry points: `make run` and `make test` work from a fresh clone.
BUILD_DIR      ?= build
SANITIZE_DIR   ?= build-sanitize
JOBS           ?= $(shell nproc)

.PHONY: deps configure build run test test-sanitize bench clean

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

bench: build
	./$(BUILD_DIR)/bench/valdrex_bench

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
