#!/usr/bin/env bash
# Builds Kelvane for 64-bit Windows on Debian 12 with MinGW-w64, tests included,
# and packs it into build-windows/: kelvane-<version>-win64.zip, a portable
# folder, and kelvane-<version>-win64.exe, an installer.
#
# QT_MINGW_DIR names a Qt 6.4.2 built for x86_64-w64-mingw32 (as
# scripts/build-qt-mingw.sh makes it). Without it, that Qt is first built from
# Debian's sources into a cache folder, which takes about half an hour; later
# runs reuse it. Installs what it needs with apt-get (sudo when not root).
# Arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    cmake ninja-build dpkg-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    mingw-w64-x86-64-dev qt6-base-dev qt6-base-dev-tools googletest nsis
)
./scripts/install-packages.sh "${packages[@]}"

if [ -z "${QT_MINGW_DIR:-}" ]; then
    QT_MINGW_DIR=${XDG_CACHE_HOME:-$HOME/.cache}/kelvane/qt-mingw-w64-x86_64
    if [ ! -f "$QT_MINGW_DIR/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
        echo "QT_MINGW_DIR is not set: building Qt for Windows into $QT_MINGW_DIR first (about 30 minutes)"
        ./scripts/build-qt-mingw.sh "$QT_MINGW_DIR"
    fi
fi
QT_MINGW_DIR=$(cd "$QT_MINGW_DIR" && pwd)
if [ ! -f "$QT_MINGW_DIR/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    echo "QT_MINGW_DIR=$QT_MINGW_DIR holds no Qt for MinGW (lib/cmake/Qt6/qt.toolchain.cmake)" >&2
    exit 1
fi
export QT_MINGW_DIR

# GoogleTest for Windows, from the sources Debian's googletest package installs.
build=build-windows
gtest=$PWD/$build/googletest
if [ ! -f "$gtest/lib/cmake/GTest/GTestConfig.cmake" ]; then
    cmake -S /usr/src/googletest -B "$build/googletest-build" -G Ninja -Wno-dev \
        -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$gtest"
    cmake --build "$build/googletest-build"
    cmake --install "$build/googletest-build" >/dev/null
fi

# A build folder configured with another Qt starts afresh.
fresh=()
if [ -f "$build/CMakeCache.txt" ] && ! grep -qxF \
    "CMAKE_TOOLCHAIN_FILE:FILEPATH=$QT_MINGW_DIR/lib/cmake/Qt6/qt.toolchain.cmake" "$build/CMakeCache.txt"; then
    fresh=(--fresh)
fi
cmake --preset windows-mingw "${fresh[@]}" \
    -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" "$@"
cmake --build --preset windows-mingw --parallel

rm -f "$build"/kelvane-*-win64.zip "$build"/kelvane-*-win64.exe
(cd "$build" && cpack >/dev/null)
ls -l "$build"/kelvane-*-win64.zip "$build"/kelvane-*-win64.exe
