#!/usr/bin/env bash
# Starts KYT on a virtual screen, as the README's run command lays it out, and
# saves pictures for people to look at: the main window in each view (map,
# sky, the whole sky, globe) and the prediction window, once for each screen
# size. Not a test: it checks nothing.
#
# Usage: tools/screenshots.sh [PROGRAM_DIR [OUTPUT_DIR]]
#   PROGRAM_DIR defaults to build/release/bin (made by `tools/setup.sh run`),
#   OUTPUT_DIR to build/screenshots. The pictures are named VIEW-WIDTHxHEIGHT.png.
#   KYT_SCREENSHOT_SIZES lists the screen sizes (default "1366x768 800x600").
# Needs xvfb-run, xdotool and ImageMagick's import (tools/packages.txt).
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
"$program_dir/KYT" &
kyt=$!
trap 'kill "$kyt" 2>/dev/null || true' EXIT

find_window() { # find_window [NAME]: the first visible window of KYT (with that title)
  local found=""
  for _ in $(seq 1 60); do
    found=$(xdotool search --onlyvisible --pid "$kyt" ${1:+--name "$1"} 2>/dev/null | head -n 1 || true)
    [ -n "$found" ] && break
    sleep 0.5
  done
  [ -n "$found" ] || { echo "KYT opened no window${1:+ \"$1\"}" >&2; exit 1; }
  echo "$found"
}
window=$(find_window)

press() { # press WINDOW KEYS
  xdotool windowfocus --sync "$1" key --window "$1" "$2"
}
shoot() { # shoot NAME [KEYS]
  [ -n "${2:-}" ] && press "$window" "$2"
  sleep "$settle"
  import -window root "$out/$1-$size.png"
  echo "$out/$1-$size.png"
}

shoot map ctrl+m
shoot sky ctrl+s
shoot whole-sky ctrl+z
shoot globe ctrl+g
# The prediction window opens over the main window, which releases it at Exit.
press "$window" ctrl+m
press "$window" F5
find_window "Satellite Pass Prediction" > /dev/null
sleep "$settle"
import -window root "$out/prediction-$size.png"
echo "$out/prediction-$size.png"
# The map view stays chosen, so the saved settings open it next time; then Exit.
# The window is gone before the key is released: that error is expected.
press "$window" alt+F4 2>/dev/null || true
for _ in $(seq 1 20); do
  kill -0 "$kyt" 2>/dev/null || break
  sleep 0.5
done
trap - EXIT
