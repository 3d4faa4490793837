# Two commands: `make test` and `make run`. Each installs what is missing, configures and builds.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
# A compiler cache speeds up rebuilds where one is installed; nothing needs it.
CCACHE := $(shell command -v ccache 2>/dev/null)
LAUNCHER := $(if $(CCACHE),-DCMAKE_CXX_COMPILER_LAUNCHER=$(CCACHE),)

.PHONY: all deps configure build test run bench screenshots clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	@bash scripts/run-demo.sh $(BUILD_DIR)

bench: build
	@for b in $(BUILD_DIR)/bench/orvane-bench-*; do echo "== $$(basename $$b)"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done

screenshots: build
	@bash scripts/screenshots.sh $(BUILD_DIR)

clean:
	@rm -rf $(BUILD_DIR)
