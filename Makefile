# Two commands for a new user: `make run` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# SISLIN_WERROR=1 (set by CI) makes every warning of every build an error.
CMAKE_OPCOES = -DSISLIN_WERROR=$(if $(SISLIN_WERROR),ON,OFF)

.PHONY: all program build run test test-release test-sanitize fuzz fuzz-smoke bench clean \
        format-check tidy \
        portas porta-libcxx porta-arm64 porta-i386 porta-windows package package-deb package-zip

all: build

# Just the program and the libraries it links: the first prompt comes in seconds.
program:
	@test -f build/CMakeCache.txt || cmake --preset release $(CMAKE_OPCOES)
	cmake --build build -j $(JOBS) --target sislin

# Everything of the release build, tests included.
build:
	cmake --preset release $(CMAKE_OPCOES) >/dev/null
	cmake --build build -j $(JOBS)

run: program
	cd examples && ../build/sislin

test-release: build
	ctest --preset release -j $(JOBS)

test-sanitize:
	cmake --preset sanitize $(CMAKE_OPCOES) >/dev/null
	cmake --build build-sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

test: test-release test-sanitize fuzz-smoke

# One kind of test of the release build: make test-dialogo, test-diferencial, test-nucleos,
# test-instalacao, test-documentacao, test-memoria (the CTest labels).
test-%: build
	ctest --preset release -j $(JOBS) -L '^$*$$'

# The tree's own checks, run by CI: formatting, then static analysis of the program.
FONTES = $(wildcard driver/*.cpp menus/*.cpp menus/*.h util/*.cpp util/*.h methods/*.cpp \
                    methods/*.h methods/micro/*.cpp tests/*.cpp tests/*.h tests/consumidor/*.cpp \
                    bench/*.cpp bench/*/*.cpp fuzz/*.cpp)
format-check:
	clang-format --dry-run --Werror $(FONTES)

# clang-tidy on the compile database of the release build (checks in .clang-tidy), then
# cppcheck for what it adds (the micro-kernel files use template lambdas it cannot parse).
tidy: build
	run-clang-tidy -p build -quiet '/(driver|menus|util|methods)/' >build/tidy.log 2>&1 || \
	  { grep -E -A3 'warning:|error:' build/tidy.log; exit 1; }
	cppcheck --enable=warning,performance,portability --std=c++20 --inline-suppr --quiet \
	  --error-exitcode=1 -Iutil -Imethods -Imenus -imethods/micro driver menus util methods

# libFuzzer targets (clang++, the fuzz preset): the number and console ones over the utility
# library, the whole-dialogue one over the whole program.
FUZZ_CXX ?= clang++
FUZZ_TARGETS = fuzz_leitor fuzz_formata fuzz_console fuzz_dialogo

fuzz:
	cmake --preset fuzz -DCMAKE_CXX_COMPILER=$(FUZZ_CXX) $(CMAKE_OPCOES) >/dev/null
	cmake --build build-fuzz -j $(JOBS)

# A short deterministic run of each target over its seed corpus (new inputs go to build-fuzz/).
# -use_cmp=0: the compared values libFuzzer feeds back include heap addresses, which differ
# from run to run and would make the mutations differ.
fuzz-smoke: fuzz
	@for t in $(FUZZ_TARGETS); do \
	  echo "fuzz-smoke: $$t"; \
	  rm -rf build-fuzz/corpus-$$t && mkdir -p build-fuzz/corpus-$$t && \
	  build-fuzz/$$t -seed=1 -runs=20000 -max_len=4096 -timeout=30 -use_cmp=0 build-fuzz/corpus-$$t fuzz/corpus/$$t \
	    >/dev/null 2>build-fuzz/$$t.log || { tail -n 40 build-fuzz/$$t.log; exit 1; }; \
	done

bench:
	cmake --preset bench $(CMAKE_OPCOES) >/dev/null
	cmake --build build-bench -j $(JOBS)

# ---- Other platforms (each builds in a folder of its own and runs the tests there).
# GoogleTest is built from source with each toolchain; the cross builds see the host's
# header-only fast_float through a folder that holds just it.
GTEST_FONTE ?= /usr/src/googletest
FAST_FLOAT_INCLUDE ?= /usr/include
portas: porta-libcxx porta-arm64 porta-i386 porta-windows

build-%/terceiros/fast_float:
	@mkdir -p $(@D) && ln -sfn $(FAST_FLOAT_INCLUDE)/fast_float $@

# x86-64 Linux with clang and libc++: the whole suite.
porta-libcxx:
	cmake -S . -B build-libcxx --toolchain cmake/clang-libcxx.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DSISLIN_GTEST_FONTE=$(GTEST_FONTE) $(CMAKE_OPCOES) >/dev/null
	cmake --build build-libcxx -j $(JOBS)
	ctest --test-dir build-libcxx -j $(JOBS) --output-on-failure --no-tests=error

# ARM64 Linux, cross-compiled: the whole suite under qemu-aarch64, the dialogue tests starting
# the program through it too.
porta-arm64: build-arm64/terceiros/fast_float
	cmake -S . -B build-arm64 --toolchain cmake/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DSISLIN_GTEST_FONTE=$(GTEST_FONTE) -DSISLIN_FAST_FLOAT_DIR=$(CURDIR)/build-arm64/terceiros $(CMAKE_OPCOES) >/dev/null
	cmake --build build-arm64 -j $(JOBS)
	ctest --test-dir build-arm64 -j $(JOBS) --output-on-failure --no-tests=error

# 32-bit x86 Linux (-m32): the whole suite, then the dialogue tests of the 64-bit build against
# the 32-bit program, and both programs on the same random systems, byte for byte.
porta-i386: build
	cmake -S . -B build-i386 --toolchain cmake/i686-linux-gnu.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DSISLIN_GTEST_FONTE=$(GTEST_FONTE) $(CMAKE_OPCOES) >/dev/null
	cmake --build build-i386 -j $(JOBS)
	ctest --test-dir build-i386 -j $(JOBS) --output-on-failure --no-tests=error
	SISLIN_PROGRAMA=$(CURDIR)/build-i386/sislin \
	  ctest --test-dir build -j $(JOBS) --output-on-failure --no-tests=error -L dialogo
	sh tests/compara.sh $(CURDIR)/build/sislin $(CURDIR)/build-i386/sislin

# Windows x86-64, cross-compiled with MinGW-w64: the kernel and utility tests under wine, then
# every dialogue test of the Linux build run against sislin.exe under wine (a test is tried up to
# three times there: wine now and then fails to start a process, status 1 and no output at all).
WINE_AMBIENTE = WINEDEBUG=-all WINEPREFIX=$(CURDIR)/build-windows/wine
porta-windows: build-windows/terceiros/fast_float build
	cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DSISLIN_GTEST_FONTE=$(GTEST_FONTE) -DSISLIN_FAST_FLOAT_DIR=$(CURDIR)/build-windows/terceiros $(CMAKE_OPCOES) >/dev/null
	cmake --build build-windows -j $(JOBS)
	$(WINE_AMBIENTE) wineboot -i >/dev/null 2>&1 || true
	$(WINE_AMBIENTE) ctest --test-dir build-windows -j $(JOBS) --output-on-failure --no-tests=error
	$(WINE_AMBIENTE) SISLIN_LANCADOR=wine SISLIN_PROGRAMA=$(CURDIR)/build-windows/sislin.exe \
	  ctest --test-dir build -j $(JOBS) --output-on-failure --no-tests=error -L dialogo \
	  --repeat until-pass:3

# WebAssembly (wasm32-wasi, clang with wasi-libc and the wasm32 libc++): make wasm builds the
# program alone (for the page); make porta-wasm also the kernel tests, run under Node.js's WASI
# through web/lancador.mjs, then every dialogue test of the Linux build against sislin.wasm, but
# one: WASI opens nothing outside the folder it is given, so a7.txt as a link to /dev/zero cannot
# be opened there. Node.js 18 offers WASI only with the flag; later versions accept it.
.PHONY: wasm porta-wasm web web-serve web-test clean-web
NODE_WASI = node --no-warnings --experimental-wasi-unstable-preview1
wasm: build-wasm/terceiros/fast_float
	cmake -S . -B build-wasm --toolchain cmake/wasm32-wasi.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DSISLIN_TESTS=OFF -DSISLIN_FAST_FLOAT_DIR=$(CURDIR)/build-wasm/terceiros $(CMAKE_OPCOES) >/dev/null
	cmake --build build-wasm -j $(JOBS) --target sislin

porta-wasm: build-wasm/terceiros/fast_float build
	cmake -S . -B build-wasm --toolchain cmake/wasm32-wasi.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DSISLIN_TESTS=ON -DSISLIN_GTEST_FONTE=$(GTEST_FONTE) \
	  -DSISLIN_FAST_FLOAT_DIR=$(CURDIR)/build-wasm/terceiros $(CMAKE_OPCOES) >/dev/null
	cmake --build build-wasm -j $(JOBS)
	ctest --test-dir build-wasm -j $(JOBS) --output-on-failure --no-tests=error
	SISLIN_LANCADOR="$(NODE_WASI) $(CURDIR)/web/lancador.mjs" SISLIN_PROGRAMA=$(CURDIR)/build-wasm/sislin.wasm \
	  ctest --test-dir build -j $(JOBS) --output-on-failure --no-tests=error -L dialogo \
	  -E '^EntradaRuim\.ArquivoSemFim$$'

# The WebAssembly build's speed under Node.js: each set's kernels (sislin_tempos), then the
# program with the portable set against the SIMD128 one (bench/wasm.sh). N=1000 unless given.
.PHONY: bench-wasm
N ?= 1000
bench-wasm: wasm
	cmake --build build-wasm -j $(JOBS) --target sislin_tempos
	$(NODE_WASI) web/lancador.mjs build-wasm/sislin_tempos.wasm $(N)
	bash bench/wasm.sh $(N) build-wasm/sislin.wasm

# The page: build-web/ is a static folder to copy to any web server (the program, the page, its
# libraries from web/node_modules, pinned by web/package-lock.json, and the example data), each
# file also gzipped. The page's program is made with Asyncify so that a read of standard input can
# suspend it (binaryen's wasm-opt), in any browser, with or without isolation headers.
web/node_modules/.package-lock.json: web/package.json web/package-lock.json
	cd web && npm ci --no-audit --no-fund
	@touch $@

ASYNCIFY = wasm-opt -O2 --asyncify --pass-arg=asyncify-imports@wasi_snapshot_preview1.fd_read \
  --enable-simd --enable-bulk-memory --enable-sign-ext --enable-nontrapping-float-to-int \
  --enable-mutable-globals
web: wasm web/node_modules/.package-lock.json
	$(ASYNCIFY) build-wasm/sislin.wasm -o build-wasm/sislin-pagina.wasm
	node web/monta.mjs build-wasm/sislin-pagina.wasm build-web

# Serves build-web/ on 127.0.0.1:8000 with the isolation headers (WEB_OPCOES=--sem-isolamento
# without them, --porta N for another port).
web-serve: web
	node web/servidor.mjs $(WEB_OPCOES) build-web

# The page in Chromium, Firefox and WebKitGTK (under Xvfb), served with and without the isolation
# headers; screenshots and transcripts in build-web-tests/. MOTORES="chromium" for fewer engines.
# make bench-web: the page's frames, "Parar" and first prompt in each engine (bench/pagina.mjs).
web-test: web program
	node --test web/unidades.mjs
	node --test-concurrency=1 --test web/testes.mjs

.PHONY: bench-web
bench-web: web
	node bench/pagina.mjs build-web $(MOTORES)

clean: clean-web
clean-web:
	rm -rf build-wasm build-web build-web-tests

# The Debian packages (sislin, sislin-dev) from the release build, checked by unpacking them and
# running the installed program; then the Windows zip from the MinGW-w64 build, checked by
# unpacking it and running its sislin.exe under wine in the unpacked folder.
package: package-deb package-zip

package-deb: build
	cd build && cpack -G DEB
	sh tests/pacote.sh build . build/sislin

package-zip: build-windows/terceiros/fast_float
	cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DSISLIN_FAST_FLOAT_DIR=$(CURDIR)/build-windows/terceiros $(CMAKE_OPCOES) >/dev/null
	cmake --build build-windows -j $(JOBS) --target sislin
	cd build-windows && cpack -G ZIP
	$(WINE_AMBIENTE) wineboot -i >/dev/null 2>&1 || true
	$(WINE_AMBIENTE) sh tests/pacote_zip.sh build-windows/sislin_*_windows_x86-64.zip .

clean:
	rm -rf build build-sanitize build-bench build-fuzz build-libcxx build-arm64 build-i386 build-windows
