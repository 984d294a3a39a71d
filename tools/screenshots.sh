#!/usr/bin/env bash
# Starts KYT on a virtual screen, as the README's run command lays it out, and
# saves pictures for people to look at: the satellite selector with the
# default element file open, the main window in each view (map, sky, the
# whole sky, globe) with the satellites taken there, the prediction window
# and the sky chart of its first pass, once for each screen size. A window
# manager (openbox, when installed) frames the windows as on a desktop. Not a
# test: it checks nothing. The program folder's element file and settings
# are used; its main list is put back afterwards.
#
# Usage: tools/screenshots.sh [PROGRAM_DIR [OUTPUT_DIR]]
#   PROGRAM_DIR defaults to build/release/bin (made by `tools/setup.sh run`),
#   OUTPUT_DIR to build/screenshots. The pictures are named VIEW-WIDTHxHEIGHT.png.
#   KYT_SCREENSHOT_SIZES lists the screen sizes (default "1366x768 800x600").
# Needs xvfb-run, xdotool, xwininfo and ImageMagick's import (tools/packages.txt).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program_dir=$(cd "${1:-$root/build/release/bin}" && pwd)
out=$(mkdir -p "${2:-$root/build/screenshots}" && cd "${2:-$root/build/screenshots}" && pwd)
[ -x "$program_dir/KYT" ] || { echo "no KYT in $program_dir (run tools/setup.sh run first)" >&2; exit 1; }

if [ -z "${KYT_SCREENSHOT_INNER:-}" ]; then
  export KYT_SCREENSHOT_INNER=1
  for size in ${KYT_SCREENSHOT_SIZES:-1366x768 800x600}; do
    KYT_SCREENSHOT_SIZE=$size xvfb-run -a -s "-screen 0 ${size}x24" "$0" "$program_dir" "$out"
  done
  exit 0
fi

# Inside the virtual screen from here on.
size=$KYT_SCREENSHOT_SIZE
settle=${KYT_SCREENSHOT_SETTLE:-6}
wm=""
if command -v openbox > /dev/null; then
  openbox > /dev/null 2>&1 &
  wm=$!
  sleep 1
fi
# The satellites taken below are not left in the program folder's main list.
kept=$(mktemp -d)
find "$program_dir/data" -maxdepth 1 -iname mainsat.bin -exec cp -p {} "$kept"/ \;
put_back() {
  find "$program_dir/data" -maxdepth 1 -iname mainsat.bin -delete
  cp -p "$kept"/. "$program_dir/data"/ -r
  rm -rf "$kept"
}
"$program_dir/KYT" &
kyt=$!
# Whatever KYT saves after this script ends is not kept either.
trap 'kill "$kyt" $wm 2>/dev/null || true; wait "$kyt" 2>/dev/null || true; put_back' EXIT

find_window() { # find_window [NAME]: the first visible window of KYT (with that title)
  local found=""
  for _ in $(seq 1 60); do
    found=$(xdotool search --all --onlyvisible --pid "$kyt" ${1:+--name "$1"} 2>/dev/null | head -n 1 || true)
    [ -n "$found" ] && break
    sleep 0.5
  done
  [ -n "$found" ] || { echo "KYT opened no window${1:+ \"$1\"}" >&2; exit 1; }
  echo "$found"
}
window=$(find_window)

press() { # press WINDOW KEYS...
  local target=$1
  shift
  xdotool windowfocus --sync "$target" key --delay 150 --window "$target" "$@"
}
save() { # save NAME: the whole screen
  sleep "$settle"
  import -window root "$out/$1-$size.png"
  echo "$out/$1-$size.png"
}
shoot() { # shoot NAME [KEYS]: the main window after the keys
  [ -n "${2:-}" ] && press "$window" "$2"
  save "$1"
}
click() { # click WINDOW X Y [COUNT]: at that point of the window's inside,
  # counted from the right (bottom) edge when negative
  local left top width height x=$2 y=$3
  read -r left top width height < <(xwininfo -id "$1" | awk '
    /Absolute upper-left X/ {l = $4} /Absolute upper-left Y/ {t = $4}
    /Width:/ {w = $2} /Height:/ {h = $2} END {print l, t, w, h}')
  [ "$x" -lt 0 ] && x=$((width + x))
  [ "$y" -lt 0 ] && y=$((height + y))
  xdotool mousemove --sync $((left + x)) $((top + y)) click --repeat "${4:-1}" --delay 120 1
  sleep 1
}

# The selector ("Satellite List"): "File" opens the default element file;
# each satellite is found with "Search" and taken with a double-click on the
# first candidate.
press "$window" F2
selector=$(find_window "Satellite Selector")
sleep 2
click "$selector" 190 346
sleep 2
xdotool type --delay 20 "$program_dir/tle/gpredict.tle"
xdotool key Return
sleep 3
save selector
for name in "ISS (ZARYA)" "NOAA 19" "METEOR-M 2"; do
  click "$selector" -130 -22
  xdotool key ctrl+a
  xdotool type --delay 20 "$name"
  xdotool key Return
  sleep 1
  click "$selector" 420 19 2
done
# Escape closes it, and the window is gone before the key is released.
press "$selector" Escape 2>/dev/null || true

shoot map ctrl+m
shoot sky ctrl+s
shoot whole-sky ctrl+z
shoot globe ctrl+g
# The prediction window opens over the main window, which releases it at Exit.
press "$window" ctrl+m
press "$window" F5
prediction=$(find_window "Satellite Pass Prediction")
save prediction
sleep 2
# Line predictions (the toolbar's first search button), then "Sky Charts":
# the chart of the first pass, captioned with the observer's place.
click "$prediction" 284 42
sleep "$settle"
click "$prediction" 656 214
find_window "    " > /dev/null
save sky-chart
press "$(find_window "    ")" Escape 2>/dev/null || true
# The map view stays chosen, so the saved settings open it next time; then Exit.
# The window is gone before the key is released: that error is expected.
press "$window" alt+F4 2>/dev/null || true
for _ in $(seq 1 60); do
  kill -0 "$kyt" 2>/dev/null || break
  sleep 0.5
done
