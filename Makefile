# Two commands for a new user: `make run` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# SISLIN_WERROR=1 (set by CI) makes every warning of every build an error.
CMAKE_OPCOES = -DSISLIN_WERROR=$(if $(SISLIN_WERROR),ON,OFF)

.PHONY: all program build run test test-release test-sanitize fuzz fuzz-smoke bench clean \
        format-check tidy \
        portas porta-libcxx porta-arm64 porta-i386 porta-windows package package-deb package-zip package-web scorm

all: build

# What each of the two commands needs: installed when this user may, else the command named.
requisitos-%:
	@sh cmake/requisitos.sh $*

# Just the program and the libraries it links: the first prompt comes in seconds.
program: requisitos-run
	@test -f build/CMakeCache.txt || cmake --preset release $(CMAKE_OPCOES)
	cmake --build build -j $(JOBS) --target sislin

# Everything of the release build, tests included.
build: requisitos-test
	cmake --preset release $(CMAKE_OPCOES) >/dev/null
	cmake --build build -j $(JOBS)

run: program
	cd examples && ../build/sislin

test-release: build
	ctest --preset release -j $(JOBS)

test-sanitize: requisitos-test
	cmake --preset sanitize $(CMAKE_OPCOES) >/dev/null
	cmake --build build-sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

test: test-release test-sanitize fuzz-smoke

# One kind of test of the release build: make test-dialogo, test-diferencial, test-nucleos,
# test-instalacao, test-documentacao, test-memoria (the CTest labels).
test-%: build
	ctest --preset release -j $(JOBS) -L '^$*$$'

# The tree's own checks, run by CI: formatting, then static analysis of the program.
FONTES = $(wildcard driver/*.cpp menus/*.cpp menus/*.h util/*.cpp util/*.h methods/*.cpp aula/*.cpp aula/*.h \
                    methods/*.h methods/micro/*.cpp methods/micro/*/*.cpp tests/*.cpp tests/*.h tests/consumidor/*.cpp \
                    bench/*.cpp bench/*/*.cpp fuzz/*.cpp)
format-check:
	clang-format --dry-run --Werror $(FONTES)

# clang-tidy on the compile database of the release build (checks in .clang-tidy), then
# cppcheck for what it adds (the micro-kernel files use template lambdas it cannot parse).
tidy: build
	run-clang-tidy -p build -quiet '/(driver|menus|util|methods|aula)/' >build/tidy.log 2>&1 || \
	  { grep -E -A3 'warning:|error:' build/tidy.log; exit 1; }
	cppcheck --enable=warning,performance,portability --std=c++20 --inline-suppr --quiet \
	  --error-exitcode=1 -Iutil -Imethods -Imenus -Iaula -imethods/micro driver menus util methods aula

# libFuzzer targets (clang++, the fuzz preset): the number and console ones over the utility
# library, the whole-dialogue one over the whole program.
FUZZ_CXX ?= clang++
FUZZ_TARGETS = fuzz_leitor fuzz_formata fuzz_console fuzz_dialogo

fuzz: requisitos-test
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

# ---- Other platforms: each a configure, build and test preset (CMakePresets.json) with its
# toolchain file, built in a folder of its own. GoogleTest is built from source with each
# toolchain (GTEST_FONTE=... names another source tree than Debian's).
PORTA_OPCOES = $(if $(GTEST_FONTE),-DSISLIN_GTEST_FONTE=$(GTEST_FONTE)) $(CMAKE_OPCOES)
portas: porta-libcxx porta-arm64 porta-i386 porta-windows

# Configures and builds the preset $(1), then runs its tests.
define porta
	cmake --preset $(1) $(PORTA_OPCOES) >/dev/null
	cmake --build --preset $(1) -j $(JOBS)
	ctest --preset $(1) -j $(JOBS)
endef

# x86-64 Linux with clang and libc++: the whole suite.
porta-libcxx:
	$(call porta,libcxx)

# ARM64 Linux, cross-compiled: the whole suite under qemu-aarch64, the dialogue tests starting
# the program through it too.
porta-arm64:
	$(call porta,arm64)

# 32-bit x86 Linux (-m32): the whole suite, then the dialogue tests of the 64-bit build against
# the 32-bit program, and both programs on the same random systems, byte for byte. Where the
# kernel cannot start 32-bit programs the preset runs them under qemu-i386 (its toolchain file
# asks the host once), and so do the two comparisons here.
porta-i386: build
	$(call porta,i386)
	emulador=$$(sed -n 's/^SISLIN_I386_EMULADOR:STRING=//p' build-i386/CMakeCache.txt); \
	echo "porta-i386: the 32-bit programs run $${emulador:+under }$${emulador:-natively}"; \
	SISLIN_LANCADOR="$$emulador" SISLIN_PROGRAMA=$(CURDIR)/build-i386/sislin \
	  SISLIN_AULA_PROGRAMA=$(CURDIR)/build-i386/aula/sislin-aula \
	  ctest --preset release -j $(JOBS) -L dialogo && \
	sh tests/compara.sh $(CURDIR)/build/sislin "$$emulador $(CURDIR)/build-i386/sislin"

# Windows x86-64, cross-compiled with MinGW-w64: the kernel and utility tests under wine, then
# every dialogue test of the Linux build run against sislin.exe under wine (a test is tried up to
# three times there: wine now and then fails to start a process, status 1 and no output at all).
WINE_AMBIENTE = WINEDEBUG=-all WINEPREFIX=$(CURDIR)/build-windows/wine
porta-windows: build
	cmake --preset windows $(PORTA_OPCOES) >/dev/null
	cmake --build --preset windows -j $(JOBS)
	$(WINE_AMBIENTE) wineboot -i >/dev/null 2>&1 || true
	ctest --preset windows -j $(JOBS)
	$(WINE_AMBIENTE) SISLIN_LANCADOR=wine SISLIN_PROGRAMA=$(CURDIR)/build-windows/sislin.exe \
	  SISLIN_AULA_PROGRAMA=$(CURDIR)/build-windows/aula/sislin-aula.exe \
	  ctest --preset release -j $(JOBS) -L dialogo --repeat until-pass:3

# WebAssembly (wasm32-wasi, clang with wasi-libc and the wasm32 libc++): make wasm builds the
# program alone (for the page); make porta-wasm also the kernel tests, run under Node.js's WASI
# through web/ferramentas/lancador.mjs, then every dialogue test of the Linux build against sislin.wasm, but
# one: WASI opens nothing outside the folder it is given, so a7.txt as a link to /dev/zero cannot
# be opened there. Node.js 18 offers WASI only with the flag; later versions accept it.
.PHONY: wasm porta-wasm web web-serve web-test clean-web
NODE_WASI = node --no-warnings --experimental-wasi-unstable-preview1
# libc++ 14 cannot convert a decimal to float: the build takes fast_float from a folder that holds
# just it (the host's include folder would bring the host's C headers along).
FAST_FLOAT_INCLUDE ?= /usr/include
build-wasm/terceiros/fast_float:
	@test -f $(FAST_FLOAT_INCLUDE)/fast_float/fast_float.h || { echo "make: the WebAssembly \
	build needs fast_float (Debian: apt-get install libfast-float-dev)"; exit 1; }
	@mkdir -p $(@D) && ln -sfn $(FAST_FLOAT_INCLUDE)/fast_float $@

wasm: requisitos-web build-wasm/terceiros/fast_float
	cmake --preset wasm $(CMAKE_OPCOES) >/dev/null
	cmake --build --preset wasm -j $(JOBS) --target sislin sislin-aula

porta-wasm: requisitos-web build-wasm/terceiros/fast_float build
	cmake --preset wasm-testes $(PORTA_OPCOES) >/dev/null
	cmake --build --preset wasm-testes -j $(JOBS)
	ctest --preset wasm-testes -j $(JOBS)
	SISLIN_LANCADOR="$(NODE_WASI) $(CURDIR)/web/ferramentas/lancador.mjs" SISLIN_PROGRAMA=$(CURDIR)/build-wasm/sislin.wasm \
	  SISLIN_AULA_PROGRAMA=$(CURDIR)/build-wasm/aula/sislin-aula.wasm \
	  ctest --preset release -j $(JOBS) -L dialogo -E '^EntradaRuim\.ArquivoSemFim$$'

# The WebAssembly build's speed under Node.js: each set's kernels (sislin_tempos), then the
# program with the portable set against the SIMD128 one (bench/wasm.sh). N=1000 unless given.
.PHONY: bench-wasm
N ?= 1000
bench-wasm: wasm
	cmake --build build-wasm -j $(JOBS) --target sislin_tempos
	$(NODE_WASI) web/ferramentas/lancador.mjs build-wasm/sislin_tempos.wasm $(N)
	bash bench/wasm.sh $(N) build-wasm/sislin.wasm

# The page: build-web/ is a static folder to copy to any web server (the program, the page, its
# libraries from web/node_modules, pinned by web/package-lock.json, and the example data), each
# file also gzipped. The page's programs are made with Asyncify so that a read of standard input can
# suspend them (binaryen's wasm-opt), in any browser, with or without isolation headers: sislin,
# and sislin-aula, whose practice is a dialogue in the page's console.
web/node_modules/.package-lock.json: web/package.json web/package-lock.json
	cd web && npm ci --no-audit --no-fund
	@touch $@

ASYNCIFY = wasm-opt -O2 --asyncify --pass-arg=asyncify-imports@wasi_snapshot_preview1.fd_read \
  --enable-simd --enable-bulk-memory --enable-sign-ext --enable-nontrapping-float-to-int \
  --enable-mutable-globals
web: wasm web/node_modules/.package-lock.json
	$(ASYNCIFY) build-wasm/sislin.wasm -o build-wasm/sislin-pagina.wasm
	$(ASYNCIFY) build-wasm/aula/sislin-aula.wasm -o build-wasm/aula/sislin-aula-pagina.wasm
	node web/ferramentas/monta.mjs build-wasm/sislin-pagina.wasm build-wasm/aula/sislin-aula-pagina.wasm build-web

# Serves build-web/ on 127.0.0.1:8000 with the isolation headers (WEB_OPCOES=--sem-isolamento
# without them, --porta N for another port).
web-serve: web
	node web/ferramentas/servidor.mjs $(WEB_OPCOES) build-web

# The page in Chromium, Firefox and WebKitGTK (under Xvfb), served with and without the isolation
# headers; screenshots and transcripts in build-web-tests/. The native sislin and sislin-aula give
# the expected transcripts, records and exercise files. MOTORES="chromium" for fewer engines.
# web/testes/scorm.mjs: the SCORM package, built by the page and by Node.js; web/testes/tarefa.mjs
# runs it in a platform-like player (web/ferramentas/plataforma.mjs) in each engine.
# make bench-web: the record read on the main thread (bench/registro.mjs), then the page's frames,
# "Parar" and first prompt in each engine (bench/pagina.mjs), and the panel "Praticar"'s time from
# a reply, a hint or an undo to its mark at n = 10 (bench/pratica.mjs).
web-test: requisitos-web-test web program
	cmake --build build -j $(JOBS) --target sislin-aula
	node --test web/testes/unidades.mjs
	node --test-concurrency=1 --test web/testes/pagina.mjs
	node --test-concurrency=1 --test web/testes/tarefa.mjs
	node --test-concurrency=1 --test web/testes/scorm.mjs

.PHONY: bench-web capturas
bench-web: requisitos-web-test web
	node bench/registro.mjs
	node bench/pagina.mjs build-web $(MOTORES)
	node bench/pratica.mjs build-web $(MOTORES)

# The guide's pictures of the page (docs/imagens/), taken in Chromium from real runs.
capturas: requisitos-web-test web
	node web/ferramentas/capturas.mjs build-web docs/imagens

clean-web:
	rm -rf build-wasm build-web build-web-tests

# The Debian packages (sislin, sislin-dev) from the release build, checked by unpacking them and
# running the installed program; then the Windows zip from the MinGW-w64 build, checked by
# unpacking it and running its sislin.exe under wine in the unpacked folder; then the page as a
# zip for any static host or course page (build/sislin-pagina.zip), checked by unpacking it.
package: package-deb package-zip package-web

# The site of make web, without its precompressed copies (a static host compresses by itself).
package-web: web
	@mkdir -p build
	rm -f build/sislin-pagina.zip
	cd build-web && find . -type f ! -name '*.gz' | LC_ALL=C sort > ../build/sislin-pagina.lista && \
	  cmake -E tar cf ../build/sislin-pagina.zip --format=zip --files-from=../build/sislin-pagina.lista
	sh tests/pacote_web.sh build/sislin-pagina.zip build-web

# The page as a SCORM 1.2 package of one assignment for a course platform (build/sislin-scorm.zip):
# make scorm CHAVE="Calculo Numerico 2026" TIPO=D N=4 [METODOS=gauss,jacobi] [DIGITOS=4] [APROVACAO=60]
# (the settings reach web/ferramentas/scorm.mjs through the environment), checked by unpacking it.
scorm: web
	@mkdir -p build
	rm -f build/sislin-scorm.zip
	node web/ferramentas/scorm.mjs build-web build/sislin-scorm.zip
	sh tests/pacote_scorm.sh build/sislin-scorm.zip build-web

package-deb: build
	cd build && cpack -G DEB
	sh tests/pacote.sh build . build/sislin

package-zip:
	cmake --preset windows $(PORTA_OPCOES) >/dev/null
	cmake --build --preset windows -j $(JOBS) --target sislin
	cd build-windows && cpack -G ZIP
	$(WINE_AMBIENTE) wineboot -i >/dev/null 2>&1 || true
	$(WINE_AMBIENTE) sh tests/pacote_zip.sh build-windows/sislin_*_windows_x86-64.zip .

clean: clean-web
	rm -rf build build-sanitize build-bench build-fuzz build-libcxx build-arm64 build-i386 build-windows
