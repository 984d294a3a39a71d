#!/usr/bin/env bash
# KYT set-up: installs what is missing, builds, prepares the default data and
# either starts the program ("run") or builds and runs every test ("test").
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
jobs=$(nproc)

install_missing() {
  local wanted=() missing=()
  mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$here/packages.txt")
  # A line "package:command" is also satisfied by that command on PATH (npm may
  # come with a Node.js that is not Debian's, which conflicts with Debian's npm).
  local line p cmd
  for line in "${wanted[@]}"; do
    p=${line%%:*}
    cmd=${line#*:}
    [ "$cmd" != "$line" ] && command -v "$cmd" >/dev/null 2>&1 && continue
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() { # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

prepare_data() { "$here/prepare-data.sh" "$1"; }

run_fuzzers() { # each target gets its own budget; the orbit library's gets a minute
  local dir=$1 seconds
  for f in "$dir"/fuzz/fuzz_*; do
    [ -x "$f" ] || continue
    case "$(basename "$f")" in
      fuzz_element_lines) seconds=60 ;;
      *) seconds=15 ;;
    esac
    echo "== $(basename "$f") for ${seconds}s"
    local corpus="$dir/fuzz-corpus/$(basename "$f")"
    mkdir -p "$corpus"
    "$f" -max_total_time="$seconds" -rss_limit_mb=2048 -malloc_limit_mb=512 -print_final_stats=1 "$corpus" \
      > "$dir/fuzz-corpus/$(basename "$f").log" 2>&1 || { tail -60 "$dir/fuzz-corpus/$(basename "$f").log"; return 1; }
  done
}

case "${1:-}" in
  run)
    install_missing
    build "$root/build/release" -DCMAKE_BUILD_TYPE=Release -DKYT_BUILD_TESTS=OFF
    prepare_data "$root/build/release/bin"
    exec "$root/build/release/bin/KYT"
    ;;
  test)
    install_missing
    build "$root/build/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    prepare_data "$root/build/release/bin"
    export KYT_REQUIRE_DATA=1 KYT_TEST_DATA_DIR="$root/build/release/bin"
    CC=clang CXX=clang++ build "$root/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYT_FUZZ=ON -DKYT_BUILD_UI=OFF -DKYT_BUILD_BENCH=OFF
    run_fuzzers "$root/build/fuzz"
    build "$root/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DKYT_SANITIZE=ON -DKYT_BUILD_UI=OFF -DKYT_BUILD_BENCH=OFF
    (cd "$root/build/sanitize" && ctest --output-on-failure -j "$jobs")
    (cd "$root/build/release" && ctest --output-on-failure -j "$jobs")
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
