#!/usr/bin/env bash
# Builds the Debian package from ./build, checks its contents and metadata in a
# throw-away root, then installs it and starts kelvane from its desktop entry
# under a virtual display. Needs root (or sudo) for the install step.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The window's caption, as the build's version header gives it.
title=$(sed -n 's/^#define KELVANE_TITLE "\(.*\)"$/\1/p' build/generated/version.h)

rm -f build/kelvane_*.deb
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/kelvane_*.deb)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Depends

root=$(mktemp -d)
installed=0
# The package comes off again however the check ends.
cleanup() {
    rm -rf "$root"
    if [ "$installed" = 1 ]; then $sudo apt-get remove -y kelvane >/dev/null || true; fi
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$root"
for f in usr/bin/kelvane usr/bin/kelvane-attach \
         usr/share/applications/org.kelvane.Kelvane.desktop \
         usr/share/metainfo/org.kelvane.Kelvane.metainfo.xml \
         usr/share/icons/hicolor/32x32/apps/kelvane.png \
         usr/share/icons/hicolor/scalable/apps/kelvane.svg \
         usr/share/man/man1/kelvane-attach.1; do
    [ -e "$root/$f" ] || { echo "missing from the package: $f"; exit 1; }
done
if dpkg-deb -c "$deb" | grep -E 'tst_|bench_|fuzz_'; then
    echo "test or benchmark programs in the package"; exit 1
fi
desktop-file-validate "$root/usr/share/applications/org.kelvane.Kelvane.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.kelvane.Kelvane.metainfo.xml"
"$root/usr/bin/kelvane-attach" --version

# Install for real, start the program as the desktop entry says, look for its window.
installed=1
$sudo apt-get install -y --no-install-recommends "./$deb" >/dev/null
# Without files to open, a launcher drops the entry's field codes (%F).
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/org.kelvane.Kelvane.desktop |
    sed 's/ *%[fFuU]//g')
# The status is whether the window appeared, not how the program ended.
xvfb-run -a bash -c "
    $exec_line & pid=\$!
    shown=1
    for i in \$(seq 1 50); do
        if xwininfo -root -tree | grep -F '\"$title\"'; then shown=0; break; fi
        sleep 0.2
    done
    kill \$pid 2>/dev/null
    [ \$shown = 0 ] || echo 'no window titled \"$title\" appeared' >&2
    exit \$shown"
echo "package check passed"
