# The two front doors: `make run` builds and starts the meter under wine,
# `make test` builds both presets and runs every test. Both install what is missing.
.PHONY: all deps build build-windows build-host test test-host test-windows run bench soak clean fuzz dist dist-check lint

JOBS ?= 2
MAKEFLAGS += --no-print-directory

all: build

deps:
	@scripts/install-deps

build-windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j$(JOBS)

build-host: deps
	@cmake --preset host >/dev/null
	@cmake --build --preset host -j$(JOBS)

build: build-windows

test-host: build-host
	ctest --preset host

test-windows: build-windows
	ctest --preset windows

# Host first: the Windows suite's summary is the last line.
test: build-host build-windows
	ctest --preset host
	ctest --preset windows

# The style check (also run by make test) and clang-tidy over the program's sources.
lint: build-windows
	@scripts/lint format
	@JOBS=$(JOBS) scripts/lint tidy build/windows

run: build-windows
	@scripts/run-meter

# A million ticks in-process; make test runs the same soak with fewer.
soak: build-windows
	@tests/harness/wine-prefix up build/windows
	RIPPLET_SOAK_TICKS=1000000 tests/harness/wine-run build/windows build/windows/tests/app/test_soak.exe

bench: build-windows
	@scripts/bench

# Fuzzes the plain logic with libFuzzer (clang): each target for FUZZ_SECONDS (or FUZZ_RUNS
# inputs, when set), two at a time, on a copy of its seed corpus under build/fuzz; prints each target's input count.
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?= -1
FUZZ_TARGETS := fuzz_ini fuzz_settings_file fuzz_value_forms fuzz_units fuzz_command_line fuzz_if_table fuzz_usage_csv

fuzz:
	@scripts/install-fuzz-deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j$(JOBS)
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_RUNS=$(FUZZ_RUNS) FUZZ_JOBS=$(JOBS) tests/fuzz/run-fuzz $(FUZZ_TARGETS)

# The release archive: dist/ripplet-<version>-win64.zip and dist/SHA256SUMS. Builds only
# the exe and the help file. dist-check builds it twice from two clones and compares.
VERSION := $(shell grep -m1 -o 'Ripplet VERSION [0-9.]*' CMakeLists.txt | cut -d' ' -f3)

dist: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j$(JOBS) --target ripplet ripplet_help
	@scripts/make-dist build/windows dist $(VERSION)

dist-check: deps
	@JOBS=$(JOBS) scripts/dist-check

clean:
	-@[ -d build/windows ] && tests/harness/wine-prefix down build/windows || true
	rm -rf build dist
