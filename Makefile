# The two everyday commands on a fresh Debian 12 machine:
#   make run    install what is missing, build, start nelo-cli
#   make test   install what is missing, build, run the whole test suite
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: run test build deps deps-test asan bench fuzz format-check clean

run: deps build
	./$(BUILD)/bin/nelo-cli

test: deps-test build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

build:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

deps:
	./scripts/install-deps.sh run

deps-test:
	./scripts/install-deps.sh test

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps-test
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNELO_SANITIZE=ON
	cmake --build build-asan -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j$(JOBS)

# Benchmarks and peer comparisons (see the README's performance section).
bench:
	./scripts/install-deps.sh bench
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DNELO_BUILD_BENCH=ON -DNELO_BUILD_TESTS=OFF
	cmake --build build-bench -j$(JOBS)
	for b in build-bench/bin/*_bench; do $$b; done

format-check:
	clang-format --dry-run -Werror $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'bench/*.cpp')

clean:
	rm -rf $(BUILD) build-asan build-bench
