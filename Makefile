# The front door: `make run` starts the program, `make test` runs every test.
MAKEFLAGS += --no-print-directory
BUILD ?= build
NATIVE := $(BUILD)/native
WINDOWS := $(BUILD)/windows
FUZZ := $(BUILD)/fuzz
DIST ?= dist
FUZZ_SECONDS ?= 60
SOAK_MINUTES ?= 10
JOBS ?= $(shell nproc)
SOURCES = $(shell git ls-files --cached --others --exclude-standard '*.cpp' '*.h' 2>/dev/null)

.PHONY: all deps native windows fuzz-build build test test-native test-windows fuzz fuzz-smoke run \
	release-check tidy release committed bench soak soak-wine format format-check clean

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

# libFuzzer needs clang; Debian 12's clang 16 is the first that builds the project's C++23.
fuzz-build: deps
	@cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-16 \
		-DZORVANE_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)

build: native windows

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

test-windows: windows
	scripts/with-wine.sh $(WINDOWS) ctest --test-dir $(WINDOWS) --output-on-failure

# Every fuzz target for FUZZ_SECONDS (default 60) each; prints executions and findings.
fuzz: fuzz-build
	scripts/fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

# In `make test`: every fuzz target over its corpus and a fixed set of inputs more.
fuzz-smoke: fuzz-build
	scripts/fuzz.sh $(FUZZ) smoke

# In `make test`, on the program the Windows-side tests ran: its zip, checked against it, its
# imports, against what Windows 7 exports, and the protections in its header.
release-check: windows
	@scripts/package.sh $(WINDOWS) $(BUILD)/dist >/dev/null
	scripts/check-package.sh $(WINDOWS) $(BUILD)/dist
	scripts/check-imports.sh $(WINDOWS)/zorvane.exe
	scripts/check-hardening.sh $(WINDOWS)/zorvane.exe

# clang-tidy over src/ (.clang-tidy), the Windows code as the mingw-w64 build compiles it.
tidy: native windows
	scripts/check-tidy.sh $(BUILD)

# A second build of the program, from a copy of the sources elsewhere, must give the same bytes.
# It runs beside the other tests, on the CPU that their waits and single-threaded steps leave.
test: format-check
	@scripts/check-reproducible.sh build $(BUILD)/reproduce & second=$$!; \
	$(MAKE) test-native fuzz-smoke test-windows release-check tidy; status=$$?; \
	wait $$second || status=1; \
	[ $$status -eq 0 ] && \
		scripts/check-reproducible.sh compare $(WINDOWS) $(BUILD)/dist $(BUILD)/reproduce

# Every test, then the zip that `make test` made and checked, with SHA256SUMS, into dist/.
release: committed test
	@rm -rf $(DIST) && mkdir -p $(DIST) && cp $(BUILD)/dist/* $(DIST)/
	@cd $(DIST) && for file in *.zip; do \
		echo "$(DIST)/$$file: $$(stat -c %s $$file) bytes, SHA-256 $$(sha256sum <$$file | cut -d' ' -f1)"; \
	done

# A release is made of a commit, which a second build can start from.
committed:
	@git diff --quiet HEAD && [ -z "$$(git ls-files --others --exclude-standard)" ] || \
		{ echo "Commit or remove what is not committed before making a release:"; \
		git status --short; exit 1; }

# On the current display; with none, a screenshot of the main window in $(BUILD)/screenshot.png.
run: windows
	scripts/run.sh $(WINDOWS)

# Not part of `make test`: about five minutes of Zorvane idle and away, measured.
bench: windows
	bench/measure.sh $(WINDOWS)

# Not part of `make test` (which runs an hour of it): a whole day away over the in-memory
# desktop, a few seconds. ZORVANE_SOAK_SEED picks another day.
soak: native
	ZORVANE_SOAK_HOURS=24 $(NATIVE)/unit_tests --gtest_filter='Soak.*'

# Not part of `make test`: ten minutes of the real program away under Wine beside a peer that
# opens and closes 200 IM windows (SOAK_MINUTES shortens it).
soak-wine: windows
	bench/soak-wine.sh $(WINDOWS) $(SOAK_MINUTES)

format:
	clang-format -i $(SOURCES)

format-check: deps
	@clang-format --dry-run --Werror $(SOURCES)

clean:
	rm -rf $(BUILD)
