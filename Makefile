# SPDX-FileCopyrightText: 2026 Quillbook developers
# SPDX-License-Identifier: GPL-3.0-or-later
#   make run    install what is missing, build, start Quillbook
#   make test   install what is missing, build, run every test headless
#   make bench  build and run the benchmarks
#   make fuzz   fuzz the template parser for a bounded time
JOBS ?= $(shell nproc)
BUILD ?= build

.PHONY: all deps build run test test-sanitize bench fuzz clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/app && ./quillbook

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLBOOK_SANITIZE=ON -DQUILLBOOK_BENCH=OFF
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && ctest --output-on-failure -j $(JOBS)

bench:
	@scripts/install-deps bench
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release
	cmake --build build-bench -j $(JOBS)
	scripts/run-benchmarks build-bench

fuzz:
	@scripts/install-deps fuzz
	scripts/fuzz

clean:
	rm -rf build build-sanitize build-bench build-fuzz
