# The two commands a user needs: `make run` and `make test`.
.PHONY: all deps linux windows test bench run clean

all: linux windows

deps:
	@scripts/install-deps

linux:
	cmake --preset linux >/dev/null
	cmake --build --preset linux

windows:
	cmake --preset windows >/dev/null
	cmake --build --preset windows

test: deps
	$(MAKE) --no-print-directory linux windows
	ctest --preset linux

bench: deps linux
	cmake --build --preset linux --target lullvane_bench
	build/linux/bench/lullvane_bench

clean:
	rm -rf build
