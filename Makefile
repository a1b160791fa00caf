# Everything runs from here: `make test` and `make demo` install what is
# missing, build for Windows and run under Wine in the build tree's prefix.
BUILD ?= build
CMAKE_FLAGS ?=
SOURCES = $(shell git ls-files '*.cpp' '*.h' 2>/dev/null)

.PHONY: all deps configure build prefix test demo bench fuzz screenshots format format-check clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

prefix: deps
	@bash scripts/wine-prefix.sh $(BUILD)

test: format-check build prefix
	@bash scripts/run-tests.sh $(BUILD)

demo: build prefix
	@bash demo/run.sh $(BUILD)

bench: build prefix
	cmake --build $(BUILD) --target kwbench
	@bash scripts/run-bench.sh $(BUILD)

# Generated catalogs, setup.ini files and command lines fed to the parsers.
FUZZ_COUNT ?= 100000
FUZZ_SEED ?= 1
FUZZ_INIS ?= 20000
FUZZ_COMMAND_LINES ?= 20000
fuzz: build prefix
	KW_BUILD_DIR=$(BUILD) bash scripts/wine-run.sh $(BUILD)/tests/fuzz/kwfuzz.exe --seed $(FUZZ_SEED) \
		--catalogs $(FUZZ_COUNT) --inis $(FUZZ_INIS) --command-lines $(FUZZ_COMMAND_LINES) \
		--out Z:$(abspath $(BUILD))/fuzz-out

screenshots: build prefix
	python3 tools/kwhttpd.py --lifetime 900 -- xvfb-run -a -s "-screen 0 1024x768x24" \
		bash scripts/screenshots.sh $(BUILD) .

format:
	clang-format -i $(SOURCES)

format-check: deps
	@clang-format --dry-run --Werror $(SOURCES) && echo "format: clean"

clean:
	rm -rf $(BUILD)
