# The front door: `make run` starts the program, `make test` runs every test.
MAKEFLAGS += --no-print-directory
BUILD ?= build
NATIVE := $(BUILD)/native
WINDOWS := $(BUILD)/windows
JOBS ?= $(shell nproc)
SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.h' 2>/dev/null)

.PHONY: all deps native windows build test test-native test-windows run bench format format-check clean

all: build

deps:
	@scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

windows: deps
	@cmake -S . -B $(WINDOWS) -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS)

build: native windows

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

test-windows: windows
	scripts/with-wine.sh $(WINDOWS) ctest --test-dir $(WINDOWS) --output-on-failure

test: format-check test-native test-windows

# On the current display; with none, a screenshot of the main window in $(BUILD)/screenshot.png.
run: windows
	scripts/run.sh $(WINDOWS)

# Not part of `make test`: about five minutes of Zorvane idle and away, measured.
bench: windows
	bench/measure.sh $(WINDOWS)

format:
	clang-format -i $(SOURCES)

format-check: deps
	@clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf $(BUILD)
