# The two commands everyone uses: `make run` and `make test`.
# Both install missing Debian packages first, then configure and build.

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

# Compiles are cached when ccache is there (scripts/install-deps installs
# it). Paths inside the clone are cached relative to it, so a fresh clone in
# another folder, as CI makes, finds the objects of an earlier build.
ifneq ($(shell command -v ccache 2>/dev/null),)
LAUNCHER = -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
endif

.PHONY: all deps configure build run test test-sanitize fuzz bench clean

all: build

deps:
	@./scripts/install-deps

$(BUILD_DIR)/build.ninja:
	@$(MAKE) --no-print-directory deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(LAUNCHER) $(CMAKE_FLAGS)

configure: $(BUILD_DIR)/build.ninja

build: deps configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/src/app/tessaly

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The core tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_DIR ?= build-sanitize
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined
# GCC 12's leak checker also scans the thread-local blocks of libraries
# loaded at run time (Qt's image plugins); with Debian 12's glibc it can take
# a bogus range for one of them (seen after decoding a JPEG) and then crashes
# at exit ("Tracer caught signal 11") instead of reporting. Not following
# those blocks avoids that; leaks are still found.
SANITIZE_RUN_OPTIONS = intercept_tls_get_addr=0
test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug $(LAUNCHER) \
		-DTESSALY_BUILD_UI=OFF -DTESSALY_BUILD_BENCH=OFF \
		-DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)"
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=$(SANITIZE_RUN_OPTIONS) \
		ctest --output-on-failure -j $(JOBS)

# The fuzz targets of tests/fuzz, built with clang and libFuzzer in their own
# folder. The saved reproducers in tests/fuzz/regressions/<target> are replayed
# first; then each target runs for FUZZ_SECONDS on a copy of its seeds, so the
# committed corpus never grows. Fails on any crash, leak, timeout, memory blow-up
# or sanitizer report, after trying every target; the input is left in
# $(FUZZ_DIR)/artifacts/<target>.
# -close_fd_mask=2 mutes what image libraries print about broken pictures;
# libFuzzer, the sanitizers and the targets' own checks still report. Inputs
# are a few KiB; a single allocation beyond the largest document (1 GiB) is a
# finding.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZERS = document_reader cabinet_extract document_open picture_load bmp_round_trip
FUZZ_RUN_OPTIONS = -rss_limit_mb=4096 -malloc_limit_mb=1100 -timeout=10 -close_fd_mask=2
FUZZ_OPTIONS = $(FUZZ_RUN_OPTIONS) -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) \
		-DTESSALY_FUZZ=ON -DTESSALY_BUILD_UI=OFF -DTESSALY_BUILD_TESTS=OFF -DTESSALY_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target tessaly_fuzzers
	@export UBSAN_OPTIONS=print_stacktrace=1; failed=""; \
	for f in $(FUZZERS); do \
		bin=$(FUZZ_DIR)/tests/fuzz/$${f}_fuzzer; \
		saved=$$(find tests/fuzz/regressions/$$f -type f 2>/dev/null | sort); \
		if [ -n "$$saved" ]; then \
			echo "fuzz: $$f: replaying tests/fuzz/regressions/$$f"; \
			if ! $$bin $(FUZZ_RUN_OPTIONS) $$saved; then \
				echo "fuzz: $$f: a saved reproducer still fails"; failed="$$failed $$f"; continue; \
			fi; \
		fi; \
		rm -rf $(FUZZ_DIR)/corpus/$$f $(FUZZ_DIR)/artifacts/$$f && \
		mkdir -p $(FUZZ_DIR)/corpus/$$f $(FUZZ_DIR)/artifacts/$$f && \
		cp -R tests/fuzz/corpus/$$f/. $(FUZZ_DIR)/corpus/$$f/ || exit 1; \
		echo "fuzz: $$f: $(FUZZ_SECONDS) s"; \
		if ! $$bin $(FUZZ_OPTIONS) -artifact_prefix=$(FUZZ_DIR)/artifacts/$$f/ $(FUZZ_DIR)/corpus/$$f; then \
			echo "fuzz: $$f failed; the input is in $(FUZZ_DIR)/artifacts/$$f"; failed="$$failed $$f"; \
		fi; \
	done; \
	if [ -n "$$failed" ]; then echo "fuzz: failed:$$failed"; exit 1; fi

bench: build
	$(BUILD_DIR)/bench/tessaly-bench

clean:
	rm -rf $(BUILD_DIR)
