# SPDX-FileCopyrightText: 2026 Quillbook developers
# SPDX-License-Identifier: GPL-3.0-or-later
# ./run and ./test at the top of the tree install make and the compiler
# first, then use these targets; with make installed they work directly:
#   make run            install what is missing, build, start Quillbook
#   make test           install what is missing, build, run every test headless
#   make test-sanitize  every test under AddressSanitizer and UBSan
#   make bench          build and run the benchmarks
#   make fuzz           fuzz the template parser for a bounded time
#   make mutate         plant known faults one at a time in a scratch copy and
#                       tell which ones the tests miss (an hour or more; not in
#                       ./test or CI); MUTATE="--library invoice" for a subset
#   make package        the Debian package quillbook_VERSION_ARCH.deb
#   make package-check  check that package as a user meets it
JOBS ?= $(shell nproc)
BUILD ?= build
VERSION := $(shell sed -n 's/^project.Quillbook VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
DEB = quillbook_$(VERSION)_$(shell dpkg --print-architecture).deb

.PHONY: all deps build run test test-sanitize bench fuzz mutate package package-check clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBOOK_BENCH=OFF
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
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQUILLBOOK_BENCH=ON
	cmake --build build-bench -j $(JOBS)
	scripts/run-benchmarks build-bench

fuzz:
	@scripts/install-deps fuzz
	scripts/fuzz

# The table goes to build-mutate/mutation.md; docs/mutation.md keeps a baseline.
mutate: deps
	nice -n 10 scripts/mutate --jobs $(JOBS) --markdown build-mutate/mutation.md $(MUTATE)

# Built with Debian's hardening flags (immediate binding too) and installed
# under /usr; no tests, which `make test` runs on the same sources.
package: export DEB_BUILD_MAINT_OPTIONS = hardening=+bindnow
package:
	@scripts/install-deps package
	CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	  cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
	cmake --build build-package -j $(JOBS) --target quillbook quillbook-render app_files packaging_files
	cd build-package && cpack -G DEB
	cp build-package/$(DEB) .

package-check: package
	packaging/check-package $(DEB)

clean:
	rm -rf build build-sanitize build-bench build-fuzz build-package build-mutate quillbook_*.deb
