# Two commands for a new user: `make run` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all program build run test test-release test-sanitize fuzz fuzz-smoke bench clean

all: build

# Just the program and the libraries it links: the first prompt comes in seconds.
program:
	@test -f build/CMakeCache.txt || cmake --preset release
	cmake --build build -j $(JOBS) --target sislin

# Everything of the release build, tests included.
build:
	cmake --preset release >/dev/null
	cmake --build build -j $(JOBS)

run: program
	cd examples && ../build/sislin

test-release: build
	ctest --preset release -j $(JOBS)

test-sanitize:
	cmake --preset sanitize >/dev/null
	cmake --build build-sanitize -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)

test: test-release test-sanitize fuzz-smoke

# libFuzzer targets (clang++): the number and console ones built from those sources directly,
# the whole-dialogue one from every source of the program.
FUZZ_CXX ?= clang++
FUZZ_FLAGS = -std=c++20 -O1 -g -ffp-contract=off -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
FUZZ_TARGETS = fuzz_leitor fuzz_formata fuzz_console fuzz_dialogo
FUZZ_SOURCES = util/numeros.cpp util/console.cpp util/plataforma.cpp
# The whole-dialogue target runs the program's entry function, renamed so it is not libFuzzer's.
FUZZ_PROGRAMA = $(wildcard util/*.cpp menus/*.cpp methods/*.cpp)
FUZZ_CABECALHOS = $(wildcard util/*.h menus/*.h methods/*.h)

fuzz: $(addprefix build-fuzz/,$(FUZZ_TARGETS))

build-fuzz/%: fuzz/%.cpp $(FUZZ_SOURCES) util/util.h util/plataforma.h
	@mkdir -p build-fuzz
	$(FUZZ_CXX) $(FUZZ_FLAGS) -o $@ $< $(FUZZ_SOURCES)

build-fuzz/fuzz_dialogo: fuzz/fuzz_dialogo.cpp fuzz/clones_clang.cpp driver/main.cpp $(FUZZ_PROGRAMA) $(FUZZ_CABECALHOS)
	@mkdir -p build-fuzz
	$(FUZZ_CXX) $(FUZZ_FLAGS) -Iutil -Imenus -Imethods -Dmain=sislin_main -c -o build-fuzz/dialogo_main.o driver/main.cpp
	$(FUZZ_CXX) $(FUZZ_FLAGS) -Iutil -Imenus -Imethods -o $@ $< fuzz/clones_clang.cpp build-fuzz/dialogo_main.o $(FUZZ_PROGRAMA)

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
	@test -f build-bench/CMakeCache.txt || cmake --preset bench
	cmake --build build-bench -j $(JOBS)

clean:
	rm -rf build build-sanitize build-bench build-fuzz
