# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compilers, POSIX
# thread model (the one Qt needs). Load it through Qt's own toolchain file:
#   -DCMAKE_TOOLCHAIN_FILE=<Qt for MinGW>/lib/cmake/Qt6/qt.toolchain.cmake
#   -DQT_CHAINLOAD_TOOLCHAIN_FILE=<this file>
# Programs built with it run here under Wine, tests included; an empty
# -DCMAKE_CROSSCOMPILING_EMULATOR= leaves Wine out.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
    find_program(KELVANE_WINE NAMES wine wine64)
    if(KELVANE_WINE)
        set(CMAKE_CROSSCOMPILING_EMULATOR ${KELVANE_WINE})
    endif()
endif()
