# Two commands for a new user: `make run` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build run test test-release test-sanitize bench clean

all: build

build:
	@test -f build/CMakeCache.txt || cmake --preset release
	cmake --build build -j $(JOBS)

run: build
	cd examples && ../build/sislin

test-release: build
	ctest --preset release -j $(JOBS)

test-sanitize:
	@test -f build-sanitize/CMakeCache.txt || cmake --preset sanitize
	cmake --build build-sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

test: test-release test-sanitize

bench:
	@test -f build-bench/CMakeCache.txt || cmake --preset bench
	cmake --build build-bench -j $(JOBS)

clean:
	rm -rf build build-sanitize build-bench
