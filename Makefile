# The two commands a user needs: `make run` and `make test`.
.PHONY: all deps linux windows linux-asan package package-deb package-windows test bench fuzz
.PHONY: run clean

all: linux windows

deps:
	@scripts/install-deps

linux:
	cmake --preset linux >/dev/null
	cmake --build --preset linux

windows:
	cmake --preset windows >/dev/null
	cmake --build --preset windows

# The unit tests and the fuzz targets, built with clang under AddressSanitizer and UBSan.
linux-asan:
	cmake --preset linux-asan >/dev/null
	cmake --build --preset linux-asan

# The release packages, into build/dist.
package: package-windows package-deb

# The Windows release: Lullvane-<version>-setup.exe and Lullvane-<version>-win64.zip.
package-windows: deps windows
	cmake --build --preset windows --target package windows_installer

# lullvane-flame as a Debian package (CPack's DEB generator), e.g.
# build/dist/lullvane-flame_1.0.0_amd64.deb.
package-deb: deps linux
	cd build/linux && cpack -G DEB

# The end-to-end tests also install and unpack the packages, so they are built first.
test: deps
	$(MAKE) --no-print-directory linux windows linux-asan
	$(MAKE) --no-print-directory package
	ctest --preset linux
	ctest --preset linux-asan

# Google Benchmark for the simulation, then lullvane-flame's frames per second at 1920x1080 under
# Xvfb (Mesa, software) with a full pool, for both drawing paths in the same run.
bench: deps linux
	cmake --build --preset linux --target lullvane_bench
	build/linux/bench/lullvane_bench
	scripts/with-virtual-display 1920x1080 \
	  build/linux/src/flame_x11/lullvane-flame --benchmark-fps 300

# Every fuzz target for FUZZ_SECONDS each, then its executions per second and coverage.
FUZZ_SECONDS ?= 60
fuzz: deps linux-asan
	scripts/fuzz $(FUZZ_SECONDS)

# The flame full screen on this display; without a display, a still picture of it.
run: deps linux
	@scripts/run-flame

clean:
	rm -rf build
