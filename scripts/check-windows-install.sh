#!/usr/bin/env bash
# Checks the Windows installer in build-windows/ as a user meets it, under Wine:
# installs it silently into a fresh Wine prefix, checks that PATH holds its
# folder (and no longer after uninstalling), starts the installed kelvane.exe
# on a virtual display and finds its window, composes character files with the
# installed kelvane-attach.exe on Windows paths (blanks, letters beyond ASCII)
# and compares them byte for byte with what the Linux build in build/ writes,
# then uninstalls silently and checks that nothing is left. Also runs
# kelvane-attach.exe from the portable folder.
# Needs wine, xvfb, x11-utils (scripts/ci-windows.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

installer=$(ls build-windows/kelvane-*-win64.exe)
portable=$(ls "$PWD"/build-windows/kelvane-*-win64.zip)
linux_attach=build/cli/kelvane-attach
title=$(sed -n 's/^#define KELVANE_TITLE "\(.*\)"$/\1/p' build-windows/generated/version.h)
version=$(sed -n 's/^#define KELVANE_VERSION "\(.*\)"$/\1/p' build-windows/generated/version.h)
[ -x "$linux_attach" ] || { echo "no Linux build of kelvane-attach in build/" >&2; exit 1; }
[ -n "$title" ] || { echo "no window title in build-windows/generated/version.h" >&2; exit 1; }

work=$(mktemp -d)
# No menu entries or icons of the installed program on this machine's desktop.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES=winemenubuilder.exe=d
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

echo "== Installing $installer silently into a fresh Wine prefix"
wineboot --init >/dev/null 2>&1
wineserver -w
drive_c=$WINEPREFIX/drive_c
wine "$installer" /S
wineserver -w
program_dir="$drive_c/Program Files/Kelvane"
for f in kelvane.exe kelvane-attach.exe Uninstall.exe Qt6Core.dll platforms/qwindows.dll \
         styles/qwindowsvistastyle.dll licenses/README.txt; do
    [ -f "$program_dir/$f" ] || fail "not installed: Program Files\\Kelvane\\$f"
done
ls "$drive_c"/ProgramData/Microsoft/Windows/Start\ Menu/Programs/*/Kelvane.lnk >/dev/null ||
    fail "no Start-menu shortcut"
attach='C:\Program Files\Kelvane\kelvane-attach.exe'

echo "== Kelvane's folder on PATH, for a new Command Prompt"
environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
system_path() { wine reg query "$environment" /v Path | tr -d '\r'; }
# Read whole before grep -q looks: a writer cut off by grep's early exit
# would fail the pipe under pipefail.
installed_path=$(system_path) || true
grep -qiF 'C:\Program Files\Kelvane' <<<"$installed_path" ||
    fail "the installer did not add C:\Program Files\Kelvane to the system Path: $installed_path"
# A new process started from another folder finds kelvane-attach by name.
found_version=$(wine cmd /c 'cd /d C:\windows && kelvane-attach --version') || true
grep -qF "$version" <<<"$found_version" || fail "kelvane-attach is not found on PATH in a new Command Prompt"
# The Wine session started without a display ends before the window's is started.
wineserver -w

echo "== Starting the installed kelvane.exe, looking for its window \"$title\""
xvfb-run -a bash -c '
    wine "C:\Program Files\Kelvane\kelvane.exe" & pid=$!
    for _ in $(seq 1 300); do
        xwininfo -root -tree | grep -qF "\"$1\": (\"kelvane.exe\"" && break
        sleep 0.2
    done
    xwininfo -root -tree | grep -F "\"$1\": (\"kelvane.exe\""
    found=$?
    # Every process of the prefix, since those started here lose their display.
    wineserver -k
    wait $pid
    exit $found' check-window "$title" || fail "no window \"$title\""

echo "== kelvane-attach.exe --version"
wine "$attach" --version | tee "$work/version.txt"
grep -qF "$version" "$work/version.txt" || fail "--version does not print $version"

echo "== Composing on Windows paths; comparing with the Linux build"
skins="$drive_c/Sims Files/Skins für Ωmega"
meshes="$drive_c/Sims Files/Accessoires été"
mkdir -p "$skins" "$meshes" "$work/linux"
character() { # name, skin lines
    printf '// Character File. Copyright 1997, Maxis Inc.\r\nversion 300\r\n0\r\n1\r\n%s\r\n0\r\n0\r\n' "$1"
    shift
    printf '%s\r\n' "$(($# / 2))"
    while [ $# -gt 0 ]; do printf '%s\r\n%s\r\n1\r\n2\r\n' "$1" "$2"; shift 2; done
    printf '0\r\nanimations follow\r\n'
}
character B001FAFit_01 PELVIS xskin-b001fafit_01-PELVIS-BODY HEAD xskin-b001fafit_01-HEAD \
    > "$skins/B001FAFit_01.cmx"
character C001MA_hat > "$skins/C001MA_hat.cmx"
character Ærøskøbing_01 PELVIS xskin-pelvis > "$skins/Ærøskøbing_01.cmx"
{   # The game's files are 8-bit text: \351 is é in Latin-1.
    printf 'lunettes-\351\r\nlunettes-\351-tex\r\n1\r\nHEAD\r\n'
    for i in $(seq 1 60); do printf '0.125 0.25 %s\r\n' "$i"; done
} > "$meshes/lunettes é.skn"

win_skins='C:\Sims Files\Skins für Ωmega'
win_mesh='C:\Sims Files\Accessoires été\lunettes é.skn'
# Each character file gets the proposed name, written beside it; the paths
# written are printed whole.
wine "$attach" "$win_skins\\B001FAFit_01.cmx" "$win_skins\\C001MA_hat.cmx" \
    "$win_skins\\Ærøskøbing_01.cmx" "$win_mesh" | tr -d '\r' > "$work/printed.txt"
printf '%s\n' "$win_skins\\B001FAFit_new.cmx" "$win_skins\\C001MA_new.cmx" \
    "$win_skins\\Ærøskøbin_new.cmx" | diff - "$work/printed.txt" || fail "paths printed wrongly"
"$linux_attach" --out "$work/linux" "$skins/B001FAFit_01.cmx" "$skins/C001MA_hat.cmx" \
    "$skins/Ærøskøbing_01.cmx" "$meshes/lunettes é.skn" >/dev/null
# A name and folder given, the folder with blanks.
mkdir -p "$drive_c/Sims Files/New Sims"
wine "$attach" --name 'Ñandú_hat' --out 'C:\Sims Files\New Sims' "$win_skins\\B001FAFit_01.cmx" "$win_mesh"
"$linux_attach" --name 'Ñandú_hat' --out "$work/linux" "$skins/B001FAFit_01.cmx" \
    "$meshes/lunettes é.skn" >/dev/null
for name in B001FAFit_new.cmx C001MA_new.cmx Ærøskøbin_new.cmx; do
    cmp "$skins/$name" "$work/linux/$name" || fail "$name differs from the Linux build's"
done
cmp "$drive_c/Sims Files/New Sims/Ñandú_hat.cmx" "$work/linux/Ñandú_hat.cmx" ||
    fail "Ñandú_hat.cmx differs from the Linux build's"
echo "4 character files written under Wine equal the Linux build's byte for byte"
rm -rf "$drive_c/Sims Files"

echo "== The portable folder"
(cd "$drive_c" && cmake -E tar xf "$portable")
folder=$(basename "$portable" .zip)
wine "C:\\$folder\\kelvane-attach.exe" --version | grep -F "$version" ||
    fail "kelvane-attach.exe does not run from the portable folder"
rm -rf "${drive_c:?}/$folder"

echo "== Uninstalling silently"
wine 'C:\Program Files\Kelvane\Uninstall.exe' /S
wineserver -w
remaining_path=$(system_path) || true
grep -qiF 'Kelvane' <<<"$remaining_path" && fail "Path still holds Kelvane's folder: $remaining_path"
left=$(find "$drive_c" -iname '*kelvane*')
[ -z "$left" ] || fail "left after uninstalling: $left"
if grep -i -B2 kelvane "$WINEPREFIX"/*.reg; then
    fail "registry entries left after uninstalling"
fi
echo "Windows installer check passed"
