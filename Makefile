# The everyday commands on a fresh Debian 12 machine:
#   make run      install what is missing, build, start the desktop program nelo
#   make run-cli  the same for the terminal program nelo-cli
#   make test     install what is missing, build, run the whole test suite (the desktop
#                 tests offscreen: no display needed)
#   make deb      build the Debian package nelo_1.00_<arch>.deb here (apt-get install ./nelo_*.deb)
#   make install  install into PREFIX (default /usr/local); DESTDIR stages it elsewhere
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
PREFIX ?= /usr/local

.PHONY: run run-cli test test-clang build deps deps-test deps-package install deb install-check asan fuzz-build fuzz-replay fuzz bench format-check tidy clean

run: deps build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		echo "make run: no display (DISPLAY or WAYLAND_DISPLAY) for the desktop program; use make run-cli for the terminal program."; \
		exit 1; \
	fi
	./$(BUILD)/bin/nelo

run-cli: deps build
	./$(BUILD)/bin/nelo-cli

test: deps-test build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The same tests built by clang, warnings as errors, in their own folder (CI runs both).
CLANG_BUILD ?= build-clang
test-clang: deps-test
	cmake -S . -B $(CLANG_BUILD) -G Ninja $(CMAKE_FLAGS) -DCMAKE_CXX_COMPILER=clang++ -DNELO_WERROR=ON
	cmake --build $(CLANG_BUILD) -j$(JOBS)
	ctest --test-dir $(CLANG_BUILD) --output-on-failure -j$(JOBS)

build:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

deps:
	./scripts/install-deps.sh run

deps-test:
	./scripts/install-deps.sh test

deps-package:
	./scripts/install-deps.sh package

# The programs are found relative to the prefix, so the prefix can change at install time.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The package is built in its own folder from the programs alone, with Debian's hardening
# flags (scripts/make-deb.sh); the tests' build folder is not touched.
DEB_BUILD ?= build-deb
deb: deps deps-package
	JOBS=$(JOBS) ./scripts/make-deb.sh $(DEB_BUILD)

# The package built as make deb builds it, its install staged in a temporary folder and
# checked there, then the package itself and lintian (scripts/check-install.sh; CI runs it).
install-check: deb
	./scripts/check-install.sh $(DEB_BUILD)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps-test
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNELO_SANITIZE=ON
	cmake --build build-asan -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp \
		UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j$(JOBS)

# Every fuzz target's seed corpus replayed by its libFuzzer program (clang, with
# AddressSanitizer and UndefinedBehaviorSanitizer).
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = archive process_line date_phrase text_file codepage ical
fuzz-build: deps-test
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
		-DNELO_BUILD_FUZZ=ON -DNELO_BUILD_TESTS=OFF -DNELO_BUILD_DESKTOP=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(addsuffix _fuzz,$(FUZZ_TARGETS))

fuzz-replay: fuzz-build
	ctest --test-dir $(FUZZ_BUILD) -R '^fuzz/' --output-on-failure -j$(JOBS)

# Runs each fuzzer for FUZZ_SECONDS; what it finds new goes to $(FUZZ_BUILD)/corpus/<target>,
# a failing input to $(FUZZ_BUILD)/crash-*. The line target's document lives across inputs
# on purpose, so the per-input leak check (a full scan each time it grows) is off there.
fuzz: fuzz-build
	for t in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$t && \
		leaks=1; [ $$t = process_line ] && leaks=0; \
		./$(FUZZ_BUILD)/bin/$${t}_fuzz -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -detect_leaks=$$leaks \
			-artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus/$$t tests/fuzz/corpus/$$t || exit 1; \
	done

# Benchmarks and peer comparisons (see the README's performance section).
bench:
	./scripts/install-deps.sh bench
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DNELO_BUILD_BENCH=ON -DNELO_BUILD_TESTS=OFF
	cmake --build build-bench -j$(JOBS)
	for b in build-bench/bin/*_bench; do $$b; done

# Nelo against its peers (bc, date) and floors on generated inputs: bench/run_peers.sh.
bench-peers:
	./scripts/install-deps.sh bench
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DNELO_BUILD_BENCH=ON -DNELO_BUILD_TESTS=OFF
	cmake --build build-bench -j$(JOBS) --target nelo-cli hello_floor memo_load_floor
	./bench/run_peers.sh build-bench

# Every C++ file as .clang-format lays it out (CI checks this).
format-check: deps-test
	clang-format --dry-run -Werror $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'tools/*.cpp')

# clang-tidy with the checks of .clang-tidy over every source file of src/, any finding
# fails (scripts/tidy.sh). Its own build folder gives the compilation database, the
# desktop's with the moc include folder; nothing is built (no source includes moc output).
TIDY_BUILD ?= build-tidy
tidy: deps-test
	cmake -S . -B $(TIDY_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DNELO_BUILD_TESTS=OFF
	JOBS=$(JOBS) nice ./scripts/tidy.sh $(TIDY_BUILD)

clean:
	rm -rf $(BUILD) build-asan build-bench $(TIDY_BUILD) $(CLANG_BUILD) $(FUZZ_BUILD) $(DEB_BUILD)
