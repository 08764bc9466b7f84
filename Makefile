# The two front doors: `make run` builds and starts the meter under wine,
# `make test` builds both presets and runs every test. Both install what is missing.
.PHONY: all deps build build-windows build-host test test-host test-windows run clean

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

run: build-windows
	@scripts/run-meter

clean:
	-@[ -d build/windows ] && tests/harness/wine-prefix down build/windows || true
	rm -rf build
