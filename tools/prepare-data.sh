#!/usr/bin/env bash
# Fills a program folder with the default data, made from Debian packages by the
# converters beside this script. Each output is made only when it is missing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dest=${1:?usage: prepare-data.sh PROGRAM_DIR}
mkdir -p "$dest"/{data,map,de_files,tle,webdwn,satfavorites}
py=/usr/bin/python3   # Debian's interpreter: it sees Debian's Python modules

# Each converter is registered here as: output (relative to dest) and command.
make_if_missing() { # make_if_missing OUTPUT COMMAND...
  local out=$dest/$1; shift
  [ -s "$out" ] && return 0
  echo "Preparing $out"
  "$@" "$out"
}
make_if_missing de_files/1957_2050.423 "$py" "$here/de405_to_jpl.py"
