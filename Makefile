# Set-up, build and test entry points; see README.md.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
RELEASE_DIR ?= build-release
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps build build-program build-release test test-sanitize fuzz format sample package

deps:
	scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)

# Just what running the program needs, without the tests and benchmarks:
# the program and the resolver library it loads (resolve.so). Ninja shows
# only warnings and errors here, not a line per file. Whatever else the
# installed program comes to need (its help pages) joins this list.
PROGRAM_TARGETS ?= statvane statvane_resolve

build-program: deps
	@echo "Building the program (statvane, resolve.so) in $(BUILD_DIR)/ ..."
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD_DIR) --target $(PROGRAM_TARGETS) -- --quiet
	@echo "Built $(BUILD_DIR)/bin/statvane"

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j2

# Everything, tests and benchmarks included, built as packagers build it
# (Release, -O3), where the optimiser warns of more and warnings are errors.
build-release: deps
	cmake -S . -B $(RELEASE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DSTATVANE_BUILD_TESTS=ON -DSTATVANE_BUILD_BENCH=ON
	cmake --build $(RELEASE_DIR)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSTATVANE_SANITIZE=ON \
	    -DSTATVANE_BUILD_BENCH=OFF
	cmake --build $(ASAN_DIR)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --test-dir $(ASAN_DIR) --output-on-failure -j2

# The fuzz targets (tests/fuzz) under libFuzzer, built with clang in
# build-fuzz/ and run in turn for FUZZ_SECONDS each.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 180

fuzz:
	scripts/install-deps.sh clang libclang-rt-14-dev
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSTATVANE_FUZZ=ON \
	    -DSTATVANE_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) --target statvane_fuzzers
	scripts/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# The main job on the bundled sample: a report over three generated logs, run
# in batch with its own program directory and settings file against the sample
# site served on loopback; its main figures are printed.
SAMPLE_DIR ?= $(BUILD_DIR)/sample

sample: build-program
	@sample/make_sample.sh $(SAMPLE_DIR)
	@sample/run_sample.sh $(BUILD_DIR)/bin/statvane $(SAMPLE_DIR)

# The Debian package, built as a Release build without tests or benchmarks in
# build-package/, where cpack leaves the .deb.
PACKAGE_DIR ?= build-package

package:
	scripts/install-deps.sh dpkg-dev file
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DSTATVANE_BUILD_TESTS=OFF -DSTATVANE_BUILD_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build $(PACKAGE_DIR)
	cd $(PACKAGE_DIR) && cpack
