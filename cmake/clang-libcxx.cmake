# x86-64 Linux with clang and libc++ (the standard library of macOS, here on Linux).
# Usage: cmake -S . -B build-libcxx --toolchain cmake/clang-libcxx.cmake
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_CXX_FLAGS_INIT "-stdlib=libc++")
set(CMAKE_C_COMPILER clang)
