#!/usr/bin/env bash
# CI for Windows: cross-builds Kelvane and its packages (scripts/build-windows.sh),
# runs the whole test suite under Wine, headless, then checks the installer as
# a user meets it (scripts/check-windows-install.sh; needs the Linux build in
# build/). Installs what it needs with apt-get (sudo when not root).
#
# The Qt for MinGW comes from QT_MINGW_DIR when set; otherwise it is unpacked
# from QT_MINGW_TARBALL, by default ../shared/toolchains/qt-6.4.2-mingw-w64-x86_64.tar.xz
# beside the project folder. It is never rebuilt here.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends \
    wine wine64 xvfb xauth x11-utils xz-utils

if [ -z "${QT_MINGW_DIR:-}" ]; then
    tarball=${QT_MINGW_TARBALL:-$(pwd)/../shared/toolchains/qt-6.4.2-mingw-w64-x86_64.tar.xz}
    if [ ! -f "$tarball" ]; then
        echo "No Qt for MinGW: set QT_MINGW_DIR, or put the tarball at $tarball (or name it in QT_MINGW_TARBALL)" >&2
        exit 1
    fi
    QT_MINGW_DIR=$(pwd)/build-windows-qt
    rm -rf "$QT_MINGW_DIR"
    mkdir -p "$QT_MINGW_DIR"
    tar -xJf "$tarball" -C "$QT_MINGW_DIR" --strip-components=1
    export QT_MINGW_DIR
fi

echo "== Windows build and packages"
./scripts/build-windows.sh

echo "== Every test, cross-built, under Wine"
(
    WINEPREFIX=$(mktemp -d)
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
    trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
    wineboot --init >/dev/null 2>&1
    # A volume label on C:, as most Windows systems have, for the drive lists to show.
    echo "SYSTEM" > "$WINEPREFIX/drive_c/.windows-label"
    ctest --preset windows-mingw
)

echo "== The installer, under Wine"
./scripts/check-windows-install.sh

echo "Windows CI took $((SECONDS - started)) s"
