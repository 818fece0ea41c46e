# Two entry points for a newcomer: `make run` and `make test`. Both use one build folder, so
# either one after the other only builds what is missing.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

# What configuring the default tree needs: the tests are part of it, and the pictures' tests
# look for djpeg while configuring.
CONFIGURE_PACKAGES := build-essential cmake pkg-config qt6-base-dev libjpeg62-turbo-dev \
	libgtest-dev libbenchmark-dev libjpeg-turbo-progs libboost-dev
# The trees without the tests (fuzzers, benchmarks, generator).
BUILD_PACKAGES := build-essential cmake pkg-config qt6-base-dev libjpeg62-turbo-dev \
	libgtest-dev libbenchmark-dev libboost-dev
RUN_PACKAGES := fontconfig fonts-dejavu-core fonts-liberation fonts-wine
TEST_PACKAGES := xauth desktop-file-utils appstream

.PHONY: all build test test-sanitize fuzz-smoke run bench world packages-build packages-test \
	packages-run clean format format-check

all: build

packages-build:
	@./scripts/ensure-packages $(CONFIGURE_PACKAGES)

packages-run:
	@./scripts/ensure-packages $(CONFIGURE_PACKAGES) $(RUN_PACKAGES)

packages-test:
	@./scripts/ensure-packages $(CONFIGURE_PACKAGES) $(RUN_PACKAGES) $(TEST_PACKAGES)

# Configures again when these arguments change, or when the last configure did not finish. The
# generator is built with the tests, so its checks of the world (coherence, city plans, the
# encoders) run in `make test`; `make run` builds the program alone.
CONFIGURE := ./scripts/configure $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARVENTA_BUILD_TOOLS=ON

build: packages-build
	@$(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: packages-test
	@$(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole test suite under AddressSanitizer (leaks included) and UBSan, in its own build.
# Leaks inside Qt and the system libraries, which are not instrumented, are suppressed in
# tests/lsan.supp; none of ours are.
SANITIZE_DIR ?= $(BUILD_DIR)-sanitize
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
test-sanitize: packages-test
	./scripts/configure $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" \
		-DMARVENTA_SANITIZE=ON -DMARVENTA_BUILD_TOOLS=OFF -DMARVENTA_BUILD_BENCH=OFF
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && $(SANITIZE_ENV) QT_QPA_PLATFORM=offscreen \
		ctest --output-on-failure -j $(JOBS)

# The libFuzzer targets (clang), each run briefly from its seeds; FUZZ_SECONDS for longer runs.
FUZZ_DIR ?= $(BUILD_DIR)-fuzz
FUZZ_SECONDS ?= 25
fuzz-smoke:
	@./scripts/ensure-packages $(BUILD_PACKAGES) clang libclang-rt-14-dev
	./scripts/configure $(FUZZ_DIR) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
		-DMARVENTA_FUZZ=ON -DMARVENTA_BUILD_UI=OFF -DBUILD_TESTING=OFF -DMARVENTA_BUILD_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) \
		--target picture_stream_fuzzer jpeg_decode_fuzzer coordinate_fuzzer
	./fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The program's speed and memory against djpeg, in their own optimised build: the table of
# figures and goals (bench/marventa_bench: offscreen, and on an Xvfb of its own beside the
# image viewers feh and nsxiv), then the decode alone (bench/djpeg_ratio.sh).
bench:
	@./scripts/ensure-packages $(BUILD_PACKAGES) libjpeg-turbo-progs valgrind fontconfig \
		fonts-liberation fonts-wine xvfb feh nsxiv
	./scripts/configure $(BUILD_DIR)-bench -DCMAKE_BUILD_TYPE=Release -DMARVENTA_BUILD_BENCH=ON \
		-DMARVENTA_BUILD_UI=ON -DBUILD_TESTING=OFF
	cmake --build $(BUILD_DIR)-bench -j $(JOBS) --target marventa marventa_bench decode_bench \
		first_decode extract_picture
	$(BUILD_DIR)-bench/bench/marventa_bench
	./bench/djpeg_ratio.sh $(BUILD_DIR)-bench

# Repaint the world's pictures (pictures/assets/, ui/icons/) with the content generator.
WORLD_DIR ?= $(BUILD_DIR)-world
world:
	@./scripts/ensure-packages $(BUILD_PACKAGES) fonts-liberation
	./scripts/configure $(WORLD_DIR) -DCMAKE_BUILD_TYPE=Release -DMARVENTA_BUILD_TOOLS=ON \
		-DMARVENTA_BUILD_UI=OFF -DBUILD_TESTING=OFF -DMARVENTA_BUILD_BENCH=OFF
	cmake --build $(WORLD_DIR) -j $(JOBS) --target marventa-generate
	$(WORLD_DIR)/tools/marventa-generate $(CURDIR)

# Builds the program alone, then opens it; without a display it stops after the build and says
# how to get a virtual one.
run: packages-run
	@$(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target marventa
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "make run: built $(BUILD_DIR)/ui/marventa, but there is no display (DISPLAY and WAYLAND_DISPLAY are unset)"; \
		echo "make run: for a virtual one, install the Debian package xvfb, then: xvfb-run -a make run"; \
		exit 1; \
	fi
	$(BUILD_DIR)/ui/marventa

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

# Fails on any C++ file that `make format` would change.
format-check:
	@./scripts/ensure-packages clang-format
	git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror

# Every folder the targets above create.
clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(BUILD_DIR)-bench $(WORLD_DIR)
