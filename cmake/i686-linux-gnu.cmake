# 32-bit x86 Linux on an x86-64 Linux host (Debian: g++-12-multilib); the programs run natively.
# Usage: cmake -S . -B build-i386 --toolchain cmake/i686-linux-gnu.cmake
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
# Debian's gcc-multilib package links /usr/include/asm to the host's kernel headers (they serve
# both word sizes). That package conflicts with the ARM64 cross compiler, so where the link is
# missing (only g++-12-multilib installed) the same link is made in the build folder.
if(NOT EXISTS /usr/include/asm AND EXISTS /usr/include/x86_64-linux-gnu/asm)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/multilib)
  file(CREATE_LINK /usr/include/x86_64-linux-gnu/asm ${CMAKE_BINARY_DIR}/multilib/asm SYMBOLIC)
  string(APPEND CMAKE_CXX_FLAGS_INIT " -idirafter ${CMAKE_BINARY_DIR}/multilib")
  string(APPEND CMAKE_C_FLAGS_INIT " -idirafter ${CMAKE_BINARY_DIR}/multilib")
endif()
