# WebAssembly (wasm32-wasi) with clang, wasi-libc and the wasm32 libc++; the program runs under
# node:wasi (the dialogue tests) and in the browser page (make web).
# Usage: cmake -S . -B build-wasm --toolchain cmake/wasm32-wasi.cmake
#          [-DSISLIN_TESTS=OFF | -DSISLIN_GTEST_FONTE=/usr/src/googletest]
# No CMAKE_SYSROOT: clang finds the wasi-libc headers and libraries by itself, and a sysroot
# would put the host's libc++ headers on the include path.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CMAKE_SYSTEM_NAME WASI)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET wasm32-wasi)
set(CMAKE_CXX_COMPILER_TARGET wasm32-wasi)
# The largest linear memory the program may take; the platform layer reports it as the
# machine's memory, so that a work set beyond it is refused up front with the memory message.
set(SISLIN_MEMORIA_MAXIMA 2147483648)
# The wasm32 libc++abi has no exception support.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -DSISLIN_MEMORIA_MAXIMA=${SISLIN_MEMORIA_MAXIMA}")
# A 1 MiB stack placed before the data, so that an overflow traps instead of overwriting it;
# the libraries' debug sections stripped.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-Wl,--stack-first -Wl,-z,stack-size=1048576 -Wl,--max-memory=${SISLIN_MEMORIA_MAXIMA} -Wl,--strip-debug")
# The kernels' tests run under Node.js's WASI (18 needs the flag; later versions accept it).
set(CMAKE_CROSSCOMPILING_EMULATOR node --no-warnings --experimental-wasi-unstable-preview1
    ${CMAKE_CURRENT_LIST_DIR}/../web/ferramentas/lancador.mjs)
