# Cross-compiles the same modules as 64-bit Windows programs. The product is
# the 32-bit build; this tree exists to run the Windows tests on machines whose
# kernel runs no 32-bit code (there Wine can only run 64-bit programs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER   x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests run under 64-bit Wine with a prefix of their own.
set(CMAKE_CROSSCOMPILING_EMULATOR env VA_WINE_ARCH=win64
    ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
