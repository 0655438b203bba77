#!/usr/bin/env bash
# Builds Qt (qtbase: Core, Gui, Widgets, Test and their plugins) for 64-bit
# Windows with Debian's MinGW-w64 compilers, from the qt6-base source package of
# the same version as the installed Qt host tools, and installs it into PREFIX.
# Given OUT, also packs it there as qt-<version>-mingw-w64-x86_64.tar.xz.
# Takes about 30 minutes on two cores. Debian 12; needs root or sudo for apt-get.
# Usage: build-qt-mingw.sh PREFIX [OUT]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 PREFIX [OUT]" >&2; exit 2; }
mkdir -p "$1"
prefix=$(cd "$1" && pwd)
out=${2:+$(cd "$2" && pwd)}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
    mingw-w64-x86-64-dev qt6-base-dev qt6-base-dev-tools cmake ninja-build dpkg-dev xz-utils

# The Qt built here must match the host tools (moc, rcc, uic) that build Kelvane with it.
version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
upstream=${version%%+*}
upstream=${upstream#*:}

# apt-get source needs a deb-src entry: one is added for the download only.
cd "$work"
if [ -z "$(apt-cache showsrc qt6-base 2>/dev/null)" ]; then
    sources=/etc/apt/sources.list.d/qt-mingw-src.sources
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "$(. /etc/os-release && echo "$VERSION_CODENAME")" | $sudo tee "$sources" >/dev/null
    $sudo apt-get update -q
    apt-get source --download-only "qt6-base=$version"
    $sudo rm -f "$sources"
    $sudo apt-get update -q
else
    apt-get source --download-only "qt6-base=$version"
fi
tar -xJf qt6-base_*.orig.tar.xz
src=$work/qtbase-everywhere-src-$upstream

# Debian's tarball drops the wintab headers: build the windows platform plugin without tablet input.
win=$src/src/plugins/platforms/windows
sed -i 's/QT_CONFIG(tabletevent)/0/' "$win"/*.cpp "$win"/*.h
sed -i "s/CONDITION QT_FEATURE_tabletevent/CONDITION FALSE/" "$win/CMakeLists.txt" \
    "$src/src/plugins/platforms/direct2d/CMakeLists.txt"
# Qt 6.4 uses its OpenGL context in the windows plugin even when OpenGL is off.
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' "$win/qwindowswindow.cpp"

cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-w64-x86_64.cmake" -DCMAKE_CROSSCOMPILING_EMULATOR= \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF \
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF -DFEATURE_icu=OFF
cmake --build "$work/build" --parallel "$(nproc)"
cmake --install "$work/build"

# Keep the compiler settings beside Qt, and let Qt's toolchain file find them
# wherever Qt is unpacked.
cp "$here/../cmake/mingw-w64-x86_64.cmake" "$prefix/mingw-w64-x86_64.cmake"
sed -i 's#^set(__qt_initially_configured_toolchain_file ".*")#set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../../../mingw-w64-x86_64.cmake")#' \
    "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
if [ -n "$out" ]; then
    tar -C "$(dirname "$prefix")" -cJf "$out/qt-$upstream-mingw-w64-x86_64.tar.xz" "$(basename "$prefix")"
fi
