#!/usr/bin/env bash
# Draws the program's pictures from their SVG masters in resources/ as PNG files at the
# sizes the windows show them (NAME-WIDTH.png beside the master), twice that for screens
# at 200 %. The program carries only the PNG files: no SVG renderer is needed at run time,
# and Qt for Windows is built without one. Run it after changing a master; commit the PNGs.
source "$(dirname "$0")/lib/failures.sh"
cd "$(dirname "$0")/../resources"
bash ../scripts/setup.sh librsvg2-bin

# draw MASTER WIDTH... (the height follows the master's proportions)
draw() {
  local master=$1 width
  shift
  for width in "$@"; do
    rsvg-convert --width "$width" --keep-aspect-ratio "$master" -o "${master%.svg}-$width.png"
  done
}

for icon in icons/*.svg; do draw "$icon" 16 32 64; done
for picture in wizard/participants.svg wizard/printer.svg wizard/finish.svg; do
  draw "$picture" 32 64
done
draw wizard/ok.svg 16 32
draw splash.svg 322 644
draw kivrel.svg 16 24 32 48 64 128 256
