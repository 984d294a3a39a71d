#!/usr/bin/env bash
# KYT set-up: installs what is missing, builds, prepares the default data and
# either starts the program ("run", from build/release/bin) or builds and runs
# every test ("test", in build/test, build/fuzz and build/sanitize).
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

# Runs every test of a build. Red when one fails, when none is found, or when
# one skipped itself: ctest counts a skipped test as passed, but here every
# test has what it needs, so a skip means a test that did not run.
run_tests() { # run_tests DIR
  local log="$1/ctest.log"
  (cd "$1" && ctest --output-on-failure --no-tests=error -j "$jobs") 2>&1 | tee "$log"
  if grep -E '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log" >/dev/null; then
    echo "Skipped tests in $1: every test must run here." >&2
    return 1
  fi
}

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
    # A folder of its own, so that neither command rebuilds the other's tree
    # with its build type and options. Its tests find the data in its bin/.
    install_missing
    build "$root/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYT_BUILD_TESTS=ON
    prepare_data "$root/build/test/bin"
    export KYT_REQUIRE_DATA=1
    CC=clang CXX=clang++ build "$root/build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKYT_FUZZ=ON -DKYT_BUILD_UI=OFF -DKYT_BUILD_BENCH=OFF
    run_fuzzers "$root/build/fuzz"
    build "$root/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DKYT_SANITIZE=ON -DKYT_BUILD_TESTS=ON -DKYT_BUILD_UI=OFF -DKYT_BUILD_BENCH=OFF
    KYT_TEST_DATA_DIR="$root/build/test/bin" run_tests "$root/build/sanitize"
    run_tests "$root/build/test"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
