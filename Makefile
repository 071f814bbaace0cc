# The two commands a user needs: `make run` and `make test`.
.PHONY: all deps linux windows package package-windows test bench run clean

all: linux windows

deps:
	@scripts/install-deps

linux:
	cmake --preset linux >/dev/null
	cmake --build --preset linux

windows:
	cmake --preset windows >/dev/null
	cmake --build --preset windows

package: package-windows

# The Windows release in build/dist: Lullvane-<version>-setup.exe and Lullvane-<version>-win64.zip.
package-windows: deps windows
	cmake --build --preset windows --target package windows_installer

# The end-to-end tests also install and unpack the release, so it is built first.
test: deps
	$(MAKE) --no-print-directory linux windows
	$(MAKE) --no-print-directory package
	ctest --preset linux

# Google Benchmark for the simulation, then lullvane-flame's frames per second at 1920x1080 under
# Xvfb (Mesa, software) with a full pool, for both drawing paths in the same run.
bench: deps linux
	cmake --build --preset linux --target lullvane_bench
	build/linux/bench/lullvane_bench
	scripts/with-virtual-display 1920x1080 \
	  build/linux/src/flame_x11/lullvane-flame --benchmark-fps 300

# The flame full screen on this display; without a display, a still picture of it.
run: deps linux
	@scripts/run-flame

clean:
	rm -rf build
