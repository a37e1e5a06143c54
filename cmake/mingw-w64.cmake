# Cross build for 64-bit Windows with Debian's MinGW-w64 (package
# g++-mingw-w64-x86-64-posix), posix threads variant:
#   cmake -S . -B build-win --toolchain cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KVITRA_MINGW_TARGET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KVITRA_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KVITRA_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${KVITRA_MINGW_TARGET}-windres)

# Libraries and headers come from the target's tree only; programs run here.
set(CMAKE_FIND_ROOT_PATH /usr/${KVITRA_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime (libstdc++, libgcc, winpthread) goes into each
# program, so that a program runs without MinGW's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The programs and tests built here run under Wine: CTest starts each test,
# and GoogleTest's discovery, through it (scripts/test-windows.sh sets up the
# Wine prefix they run in); tests/win32/run_under_wine.sh keeps a failing
# program's output and says how it ended.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/win32/run_under_wine.sh)
