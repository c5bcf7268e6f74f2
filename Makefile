# The two commands of the README: `make tour` and `make test`.
# Each installs what is missing, configures, builds and runs.

.PHONY: setup tour test test-asan test-tsan bench install-check package fuzz fuzz-run build clean

setup:
	@bash scripts/setup.sh

build-%: setup
	cmake --preset $* >/dev/null
	cmake --build --preset $*

tour: build-default
	./build/default/tour

test: build-default
	ctest --preset default

test-asan: build-asan
	ctest --preset asan

test-tsan: build-tsan
	ctest --preset tsan

bench: build-default
	@for b in build/default/bench_*; do echo "== $$b"; "$$b" --benchmark_min_time=0.2 || exit 1; done

# Install into a temporary prefix and build the consumer against it (CMake, pkg-config).
install-check: build-default
	scripts/check-install.sh build/default

# The Debian packages libkpquaslet1 and libkpquaslet-dev, in build/package.
package: build-package
	cpack --preset package

# The libFuzzer harnesses (clang); fuzz-run runs each for FUZZ_SECONDS on its corpus.
FUZZ_SECONDS ?= 20
fuzz: build-fuzz

fuzz-run: fuzz
	scripts/fuzz.sh -t $(FUZZ_SECONDS)

clean:
	rm -rf build
