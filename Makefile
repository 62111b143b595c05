# The README's two commands, and the Debian package. All install what they need first.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test package bench clean

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

run: build
	@if [ -x $(BUILD_DIR)/app/rqvfs-editor ]; then \
	  $(BUILD_DIR)/app/rqvfs-editor; \
	else \
	  $(BUILD_DIR)/cli/rqfs --help; \
	fi

test: build
	ctest --preset $(PRESET) -j $(JOBS)

# A .deb of the programs and everything `cmake --install` puts beside them, in $(BUILD_DIR).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Runs every benchmark and prints one table of ratios (docs/performance.md keeps the last).
bench: build
	cmake --build --preset $(PRESET) --target bench

clean:
	rm -rf build
