# Two commands: `make test` and `make run`. Each installs what is missing, configures and builds.
# `make install PREFIX=...` and `make package` install the build or make its Debian package.
# `make test-sanitize` runs the suite again on a build of its own under ASan and UBSan (as CI does).
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
# A compiler cache speeds up rebuilds where one is installed; nothing needs it.
CCACHE := $(shell command -v ccache 2>/dev/null)
LAUNCHER := $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE),)

.PHONY: all deps configure build test test-sanitize soak run bench screenshots fuzz install package check-install clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest -LE soak --output-on-failure -j $(JOBS)

# The long runs: the store's writers killed hundreds of times during their saves.
soak: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest -L soak --output-on-failure

# Clang: its one runtime for both sanitizers sends every report to the files the tests check.
# Debug with light optimisation and line tables: fast enough on two cores, readable stack traces.
# Niced, as it shares the machine.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -DORVANE_SANITIZE=ON -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
		-DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" $(LAUNCHER) > /dev/null
	@nice cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen nice ctest -LE soak --output-on-failure -j $(JOBS)

run: build
	@bash scripts/run-demo.sh $(BUILD_DIR)

bench: build
	@for b in $(BUILD_DIR)/bench/orvane-bench-*; do echo "== $$(basename $$b)"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

# The fuzz targets, built with clang in their own folder, each over its corpus and then for a
# while (FUZZ_SECONDS); make fuzz FUZZ_SECONDS=3600 for a long run by hand.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 15
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DORVANE_FUZZ=ON \
		-DORVANE_FUZZ_SECONDS=$(FUZZ_SECONDS) $(LAUNCHER) > /dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target orvane-fuzzers
	@cd $(FUZZ_DIR) && ctest -L fuzz --output-on-failure -j $(JOBS)

screenshots: build
	@bash scripts/screenshots.sh $(BUILD_DIR)

# make install PREFIX=/opt/orvane: the programs, libraries, plugins and data under PREFIX.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package of the whole system, in $(BUILD_DIR)/package.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB

# The package through lintian, and the tree installed into a temporary prefix and run from there.
check-install: build
	@bash scripts/check-install.sh $(BUILD_DIR)

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
