# Two commands for a fresh Debian 12 machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
ROOM := 理科室

.PHONY: all build run test reference-images bench fuzz deb windows windows-test clean

all: build

build:
	@scripts/install-deps.sh build
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The demo room is a copy of the program named after the room; its bookings
# go to demo/$(ROOM).dat beside it.
run:
	@scripts/install-deps.sh run
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target roomboard
	@mkdir -p demo
	@cp -f $(BUILD)/roomboard "demo/$(ROOM)"
	@touch "demo/$(ROOM).dat" # a board started by root makes none
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "No display: start it on a desktop, or without one: xvfb-run make run"; exit 1; fi
	@"demo/$(ROOM)"

test:
	@scripts/install-deps.sh test
	@$(MAKE) --no-print-directory build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# After an intended change to how a window looks: draws the board, its dialogs,
# a message box and the printed page again into tests/board/reference/ (in
# place of comparing them) and lists the images that changed. The message box
# needs Qt's Japanese button texts, which `run` installs, and the page
# poppler's pdftoppm, which `test` does.
reference-images:
	@scripts/install-deps.sh run
	@scripts/install-deps.sh test
	@$(MAKE) --no-print-directory build
	@cd $(BUILD) && ROOMBOARD_WRITE_REFERENCES=1 ctest --output-on-failure -R '^tst_rendering$$'
	@git status --short tests/board/reference

# Benchmarks in a build of their own, so the everyday build never needs
# Google Benchmark. The summary table goes to stdout, Google Benchmark's own
# lines to stderr.
BENCH_BUILD ?= build-bench
bench:
	@scripts/install-deps.sh bench
	@cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DROOMBOARD_BENCH=ON \
	    -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target roomboard_bench
	@$(BENCH_BUILD)/bench/roomboard_bench

# A bounded libFuzzer run (clang, ASan, UBSan) of the booking-file reader in
# a build of its own; inputs that break it are kept in tests/fuzz/regressions/.
# Debug keeps Q_ASSERT on.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps.sh fuzz
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=Debug \
	    -DROOMBOARD_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target roomboard_fuzz
	@tests/fuzz/run.sh $(FUZZ_BUILD)/roomboard_fuzz $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS)

# The Debian package of the program, its launcher template, icons and manual.
deb:
	@scripts/install-deps.sh deb
	@$(MAKE) --no-print-directory build
	@cd $(BUILD) && cpack -G DEB
	@dpkg-deb -I $(BUILD)/package/roomboard_*.deb | grep -E '^ (Package|Version|Depends|Recommends):'

# The Windows program, cross-built with MinGW against a Qt built once from
# Debian's source into ~/.cache/roomboard, laid out as the folder a school
# copies: build-windows/roomboard-win64/ and its zip.
windows:
	@scripts/windows-build.sh

# Its tests and the shipped folder end to end, under Wine.
windows-test: windows
	@scripts/windows-test.sh

clean:
	rm -rf $(BUILD)
