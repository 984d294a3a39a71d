#!/usr/bin/env bash
# Starts KYT on a virtual screen, as the README's run command lays it out, and
# saves a picture of the main window in each view (map, sky, globe) for people
# to look at. Not a test: it checks nothing.
#
# Usage: tools/screenshots.sh [PROGRAM_DIR [OUTPUT_DIR]]
#   PROGRAM_DIR defaults to build/release/bin (made by `tools/setup.sh run`),
#   OUTPUT_DIR to build/screenshots.
# Needs xvfb-run, xdotool and ImageMagick's import (tools/packages.txt).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
program_dir=$(cd "${1:-$root/build/release/bin}" && pwd)
out=$(mkdir -p "${2:-$root/build/screenshots}" && cd "${2:-$root/build/screenshots}" && pwd)
[ -x "$program_dir/KYT" ] || { echo "no KYT in $program_dir (run tools/setup.sh run first)" >&2; exit 1; }

if [ -z "${KYT_SCREENSHOT_INNER:-}" ]; then
  export KYT_SCREENSHOT_INNER=1
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$program_dir" "$out"
fi

# Inside the virtual screen from here on.
settle=${KYT_SCREENSHOT_SETTLE:-6}
"$program_dir/KYT" &
kyt=$!
trap 'kill "$kyt" 2>/dev/null || true' EXIT

window=""
for _ in $(seq 1 60); do
  window=$(xdotool search --onlyvisible --pid "$kyt" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || { echo "KYT opened no window" >&2; exit 1; }

shoot() { # shoot NAME [KEYS]
  if [ -n "${2:-}" ]; then
    xdotool windowfocus --sync "$window" key --window "$window" "$2"
  fi
  sleep "$settle"
  import -window root "$out/$1.png"
  echo "$out/$1.png"
}

shoot map ctrl+m
shoot sky ctrl+s
shoot globe ctrl+g
# Back to the map, so the saved settings open the map view next time, then Exit.
xdotool windowfocus --sync "$window" key --window "$window" ctrl+m
sleep 2
# The window is gone before the key is released: that error is expected.
xdotool windowfocus --sync "$window" key --window "$window" alt+F4 2>/dev/null || true
for _ in $(seq 1 20); do
  kill -0 "$kyt" 2>/dev/null || break
  sleep 0.5
done
trap - EXIT
