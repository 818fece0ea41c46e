# Two entry points for a newcomer: `make run` and `make test`. Both use one build folder, so
# either one after the other only builds what is missing.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

# What each tree needs to configure and build. The core alone (the fuzzers' tree); with Qt (the
# window, the generator, the bench harness); the default tree adds the tests, and the pictures'
# tests look for djpeg while configuring; the accessibility tests switch Qt's listener on through
# its private headers. Google Benchmark is for `make bench` alone; Boost (geometry, Voronoi) for the
# content generator, which the default tree builds too.
CORE_PACKAGES := build-essential cmake pkg-config libjpeg62-turbo-dev
BUILD_PACKAGES := $(CORE_PACKAGES) qt6-base-dev
GENERATOR_PACKAGES := $(BUILD_PACKAGES) libboost-dev
CONFIGURE_PACKAGES := $(GENERATOR_PACKAGES) libgtest-dev libjpeg-turbo-progs qt6-base-private-dev
# qt6-wayland: the native platform of a Wayland session without an X server.
RUN_PACKAGES := fontconfig fonts-dejavu-core fonts-liberation fonts-wine qt6-wayland
# weston: the headless compositor the Wayland tests run on.
TEST_PACKAGES := xauth desktop-file-utils appstream weston
# The screen-reader test's: Orca on an X server of its own. Where they cannot be installed, that
# test is skipped and the others still run.
SCREEN_READER_PACKAGES := orca speech-dispatcher at-spi2-core dbus-daemon xvfb xdotool

.PHONY: all build test test-sanitize fuzz-smoke run bench world package package-check \
	check-fresh packages-build packages-test packages-run clean format format-check

all: build

packages-build:
	@./scripts/ensure-packages $(CONFIGURE_PACKAGES)

packages-run:
	@./scripts/ensure-packages $(CONFIGURE_PACKAGES) $(RUN_PACKAGES)

packages-test:
	@./scripts/ensure-packages $(CONFIGURE_PACKAGES) $(RUN_PACKAGES) $(TEST_PACKAGES)
	-@./scripts/ensure-packages $(SCREEN_READER_PACKAGES)

# The default tree, with CMake's defaults: the program, the tests, the content generator with its
# checks of the world (coherence, city plans, the encoders) and the bench harness with its smoke
# run. Configures again when these arguments change, or when the last configure did not finish.
CONFIGURE := ./scripts/configure $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

# Builds all of the default tree.
build: packages-build
	@$(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Builds all of the default tree and runs every test CTest knows in it.
test: packages-test
	@$(CONFIGURE)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The tests of the program under AddressSanitizer (leaks included) and UBSan, in its own build:
# all but the generator's, the bench smoke run and the checks of the build itself (build_*).
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
# libFuzzer comes with the runtime of the release's clang (14 on Debian 12, 19 on 13).
FUZZ_DIR ?= $(BUILD_DIR)-fuzz
FUZZ_SECONDS ?= 25
fuzz-smoke:
	@./scripts/ensure-packages $(CORE_PACKAGES) clang
	@./scripts/ensure-packages libclang-rt-$$(clang -dumpversion | cut -d. -f1)-dev
	./scripts/configure $(FUZZ_DIR) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
		-DMARVENTA_FUZZ=ON -DMARVENTA_BUILD_UI=OFF -DBUILD_TESTING=OFF -DMARVENTA_BUILD_BENCH=OFF \
		-DMARVENTA_BUILD_TOOLS=OFF
	cmake --build $(FUZZ_DIR) -j $(JOBS) \
		--target picture_stream_fuzzer jpeg_decode_fuzzer coordinate_fuzzer
	./fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The program's speed and memory against djpeg, in their own optimised build: the table of
# figures and goals (bench/marventa_bench: offscreen, and on an Xvfb of its own beside the
# image viewers feh and nsxiv), then the decode alone (bench/djpeg_ratio.sh).
bench:
	@./scripts/ensure-packages $(BUILD_PACKAGES) libbenchmark-dev libjpeg-turbo-progs valgrind \
		fontconfig fonts-liberation fonts-wine xvfb feh nsxiv
	./scripts/configure $(BUILD_DIR)-bench -DCMAKE_BUILD_TYPE=Release -DMARVENTA_BUILD_BENCH=ON \
		-DMARVENTA_BUILD_UI=ON -DBUILD_TESTING=OFF -DMARVENTA_BUILD_TOOLS=OFF
	cmake --build $(BUILD_DIR)-bench -j $(JOBS) --target marventa marventa_bench decode_bench \
		first_decode extract_picture
	$(BUILD_DIR)-bench/bench/marventa_bench
	./bench/djpeg_ratio.sh $(BUILD_DIR)-bench

# Repaint the world's pictures (pictures/assets/, ui/icons/) with the content generator. Its map
# faces ship with it (tools/fonts/), so it needs no font package.
WORLD_DIR ?= $(BUILD_DIR)-world
world:
	@./scripts/ensure-packages $(GENERATOR_PACKAGES)
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

# The Debian package, in its own optimised build of the program alone, checked by lintian:
# $(PACKAGE_DIR)/marventa_<version>_<arch>.deb.
PACKAGE_DIR ?= $(BUILD_DIR)-package
package:
	@./scripts/ensure-packages $(BUILD_PACKAGES) dpkg-dev lintian
	./scripts/configure $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
		-DMARVENTA_BUILD_BENCH=OFF -DMARVENTA_BUILD_TOOLS=OFF
	cmake --build $(PACKAGE_DIR) -j $(JOBS) --target marventa
	cd $(PACKAGE_DIR) && cpack -G DEB
	lintian --fail-on error $(PACKAGE_DIR)/marventa_*.deb

# Installs that package into a clean root of the Debian release this machine runs, under
# $(PACKAGE_DIR), and starts it there.
package-check: package
	./scripts/check-package $(PACKAGE_DIR)

# `make test` as a newcomer meets it on a fresh Debian of the release SUITE (bookworm or trixie):
# a minimal root under $(FRESH_DIR)-SUITE, a clone of this checkout's last commit, the README's
# commands in it. As root; it builds everything from nothing there.
FRESH_DIR ?= $(BUILD_DIR)-fresh
check-fresh:
	@if [ -z "$(SUITE)" ]; then \
		echo "make check-fresh: name the release: make check-fresh SUITE=trixie (or bookworm)"; \
		exit 1; \
	fi
	./scripts/check-fresh $(SUITE) $(FRESH_DIR)-$(SUITE)

format:
	@./scripts/ensure-packages clang-format
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

# Fails on any C++ file that `make format` would change.
format-check:
	@./scripts/ensure-packages clang-format
	git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror

# Every folder the targets above create.
clean:
	@./scripts/check-package --unmount $(PACKAGE_DIR)
	@for dir in $(wildcard $(FRESH_DIR)-*); do ./scripts/check-fresh --unmount $$dir; done
	rm -rf --one-file-system $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(BUILD_DIR)-bench $(WORLD_DIR) \
		$(PACKAGE_DIR) $(wildcard $(FRESH_DIR)-*)
