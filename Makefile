# The README's two commands, and the Debian package. All install what they need first.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test package bench clean test-windows windows-zip

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

# rqfs and the card library cross-built for 64-bit Windows, every test run under Wine.
test-windows: deps
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)
	ctest --preset windows -j $$(( $(JOBS) * 2 ))

# The Windows download: build/windows/rqfs-VERSION-windows-x64.zip.
windows-zip: deps
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS) --target windows_zip

# A .deb of the programs and everything `cmake --install` puts beside them, in $(BUILD_DIR).
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# Runs every benchmark and prints one table of ratios (docs/performance.md keeps the last).
bench: build
	cmake --build --preset $(PRESET) --target bench

clean:
	rm -rf build
