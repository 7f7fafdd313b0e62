# Every target sets itself up: missing Debian packages, configuration, build.
JOBS ?= $(shell nproc)
BUILD ?= build
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test install package server test-server windows test-windows tsan asan fuzz bench bench-server format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@$(BUILD)/bin/vantor

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 300

# The executable, its pictures and fonts, the desktop entry, icons,
# AppStream metainfo and manual page under PREFIX; DESTDIR is honoured.
PREFIX ?= /usr/local
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package, in $(BUILD)/package/, its Depends line worked out by
# dpkg-shlibdeps.
package: build
	@cd $(BUILD) && cpack --config CPackConfig.cmake

# The game server alone, without the window front end: build-server/bin/vantor
# links no GL, GLUT or X library (see docs/hosting.md).
server: deps
	@cmake -S . -B build-server -DVANTOR_GUI=OFF >/dev/null
	@cmake --build build-server -j $(JOBS) --target vantor

# That build's own checks: server mode over the wire, the hosting options,
# the service unit, and no window library linked.
test-server: deps
	@cmake -S . -B build-server -DVANTOR_GUI=OFF >/dev/null
	@cmake --build build-server -j $(JOBS) --target vantor server_mode_tests vantor_startup_tests
	@cd build-server && ctest --output-on-failure -j $(JOBS) -L server-mode --timeout 300

# The Windows build, cross-compiled with MinGW-w64 against static
# freeglut, FreeType, libpng and zlib built from Debian's sources (once, in
# build-windows/deps): build-windows/vantor-windows-x64.zip holds vantor.exe,
# PNG/ and TTF/, and vantor.exe imports only Windows' own DLLs.
WINDOWS_CMAKE = cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake
windows: deps
	@scripts/build-windows-deps build-windows/deps
	@# The picture maker runs through Wine during the build: its prefix is made
	@# whole first, rather than on the side by the first program run.
	@scripts/wine-run true
	@$(WINDOWS_CMAKE) >/dev/null
	@cmake --build build-windows -j $(JOBS) --target vantor_zip

# The Windows build's tests under Wine, in a network namespace of their own
# with one wineserver (scripts/test-windows): the unit tests that need no
# window, the Linux build's server-mode test against `wine vantor.exe S`,
# and the client from the unpacked zip under Xvfb (scripts/check-windows-window).
test-windows: windows
	@cmake --build build-windows -j $(JOBS)
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target server_mode_tests
	@scripts/test-windows $(JOBS) $(BUILD)

# The threaded tests under ThreadSanitizer, in a build of their own.
tsan: deps
	@cmake -S . -B build-tsan -DVANTOR_SANITIZE=thread -DVANTOR_GUI=OFF >/dev/null
	@cmake --build build-tsan -j $(JOBS)
	@cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
	  ctest --output-on-failure -j $(JOBS) -L threaded --timeout 600

# Every test but the window tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, in a build of their own.
asan: deps
	@cmake -S . -B build-asan -DVANTOR_SANITIZE=address,undefined >/dev/null
	@cmake --build build-asan -j $(JOBS)
	@cd build-asan && ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" \
	  UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
	  ctest --output-on-failure -j $(JOBS) -LE "window|package" -E GameScreenRender --timeout 600
	@# The GL driver, loaded and unloaded at run time, keeps allocations that no
	@# symbol names: the rendering tests run without the leak check.
	@cd build-asan && ASAN_OPTIONS="detect_leaks=0:abort_on_error=0" \
	  UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
	  ctest --output-on-failure -j $(JOBS) -R GameScreenRender --timeout 600

# libFuzzer targets with ASan and UBSan, each run for FUZZ_SECONDS on its corpus.
FUZZ_SECONDS ?= 60
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B build-fuzz -DVANTOR_FUZZ=ON -DVANTOR_GUI=OFF -DVANTOR_TESTS=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

bench: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVANTOR_TESTS=OFF -DVANTOR_GUI=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target vantor_bench
	@build-bench/bench/vantor_bench

# The game server's network core against a minimal epoll server, side by side.
bench-server: deps
	@cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DVANTOR_TESTS=OFF -DVANTOR_GUI=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target vantor_server_bench
	@build-bench/bench/vantor_server_bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build build-server build-windows build-tsan build-asan build-fuzz build-bench
