#!/bin/sh
# Renders the 32 x 32 PNG that the program and the icon theme use from the
# SVG source, and the Windows icon the programs carry. Needs rsvg-convert and
# icotool (Debian packages librsvg2-bin, icoutils).
set -eu
cd "$(dirname "$0")"
rsvg-convert --width 32 --height 32 kelvane.svg --output kelvane.png
icotool --create --output kelvane.ico kelvane.png
