# SPDX-License-Identifier: GPL-3.0-or-later
# make run    installs what is missing, builds, starts the program on the simulated board
# make test   installs what is missing, builds, runs every test (offscreen)
# make bench  builds and runs the benchmarks
# make package  builds the Debian package (build/qmf4150_<version>_<arch>.deb)
# SANITIZE=1 make test  does the same under AddressSanitizer + UBSan in build-asan/
# make fuzz   builds the libFuzzer targets with clang in build-fuzz/ and fuzzes each for
#             FUZZ_SECONDS (default 60); new inputs go to build-fuzz/corpus/, findings to
#             build-fuzz/findings/ (add each to tests/fuzz/corpus/<target>/ once fixed)

JOBS ?= $(shell nproc)
# The developer's build: tests, benchmarks and warnings as errors, laid out for /usr so that the
# Debian package comes from the same tree.
CMAKE_FLAGS += -DQMF_BUILD_TESTS=ON -DQMF_BUILD_BENCH=ON -DQMF_WERROR=ON \
  -DCMAKE_INSTALL_PREFIX=/usr
ifeq ($(SANITIZE),1)
BUILD ?= build-asan
CMAKE_FLAGS += -DQMF_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
else
BUILD ?= build
endif

PROGRAM := $(BUILD)/bin/qmf4150eval

FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := SettingsFile Numbers SimState BatchScript Arguments CsvLog XlsLog BusTrace

.PHONY: all deps configure build run test bench package fuzz format clean

all: build

deps:
	@./scripts/install-deps.sh

# Configured once; after that the build itself re-runs CMake when a CMakeLists.txt changes. A tree
# configured before the build options existed is configured again with them.
configure: deps
	@if [ ! -f $(BUILD)/build.ninja ] || \
	    ! grep -q '^QMF_BUILD_TESTS:BOOL=ON' $(BUILD)/CMakeCache.txt; then \
	  cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null; fi

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(PROGRAM) ]; then exec $(PROGRAM) --simulate; \
	else echo "The program qmf4150eval is not built yet."; exit 1; fi

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done; true

package: build
	@cd $(BUILD) && cpack -G DEB >/dev/null && ls -1 $(CURDIR)/$(BUILD)/*.deb

fuzz: deps
	@if [ ! -f $(FUZZ_BUILD)/build.ninja ]; then \
	  CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DQMF_FUZZ=ON -DQMF_WERROR=ON \
	    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null; fi
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/findings; \
	  echo "fuzzing $$t for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_BUILD)/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/findings/$$t- \
	    $(FUZZ_BUILD)/corpus/$$t tests/fuzz/corpus/$$t || exit 1; \
	done

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan $(FUZZ_BUILD)
