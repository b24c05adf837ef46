# 32-bit x86 Linux on an x86-64 Linux host (Debian: g++-12-multilib). The programs run natively
# where the kernel can start them; a kernel built without 32-bit support answers "Exec format
# error", and then the tests start them under qemu-i386 (Debian: qemu-user), as a cross build.
# Usage: cmake --preset i386 (or cmake -S . -B build-i386 --toolchain cmake/i686-linux-gnu.cmake)
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

# Can this host start a 32-bit x86 program? Asked once per build folder, with the smallest one.
if(NOT DEFINED CACHE{SISLIN_I386_EMULADOR})
  set(_prova ${CMAKE_BINARY_DIR}/CMakeFiles/prova-i386)
  file(WRITE ${_prova}.c "int main(void) { return 0; }\n")
  execute_process(COMMAND gcc -m32 ${_prova}.c -o ${_prova} RESULT_VARIABLE _compilou
                  OUTPUT_QUIET ERROR_QUIET)
  set(_emulador "")
  if(_compilou EQUAL 0)
    execute_process(COMMAND ${_prova} RESULT_VARIABLE _correu OUTPUT_QUIET ERROR_QUIET)
    if(NOT _correu EQUAL 0)
      set(_emulador qemu-i386)
    endif()
  endif()
  set(SISLIN_I386_EMULADOR "${_emulador}" CACHE STRING
      "Command that starts the 32-bit programs (empty: the host starts them itself)")
endif()
if(SISLIN_I386_EMULADOR)
  set(CMAKE_SYSTEM_NAME Linux)
  set(CMAKE_SYSTEM_PROCESSOR i686)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SISLIN_I386_EMULADOR})
endif()
