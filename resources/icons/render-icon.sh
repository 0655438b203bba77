#!/bin/sh
# Renders the 32 x 32 PNG that the program and the icon theme use from the
# SVG source. Needs rsvg-convert (Debian package librsvg2-bin).
set -eu
cd "$(dirname "$0")"
rsvg-convert --width 32 --height 32 kelvane.svg --output kelvane.png
