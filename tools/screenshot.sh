#!/usr/bin/env bash
# Saves a picture of a whole X display as build/mingw-x64/screenshots/NAME.png (NAME defaults to the date and
# time) and prints its path. The display is that of the build tree's Wine environment when it is up, else
# $DISPLAY. It starts nothing.
#
#   tools/screenshot.sh [--build-dir DIR] [NAME]
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$here/../build/mingw-x64
if [ "${1:-}" = "--build-dir" ]; then
  build=$2
  shift 2
fi
name=${1:-$(date +%Y%m%d-%H%M%S)}
name=${name%.png}

display=${DISPLAY:-}
if env_lines=$(env -u LUMORRA_WINE_DISPLAY "$here/wine-env.sh" env "$build" 2>/dev/null); then
  display=$(sed -n 's/^export DISPLAY=//p' <<<"$env_lines")
fi
if [ -z "$display" ]; then
  echo "screenshot: no display (start one with tools/wine-env.sh start, or set DISPLAY)" >&2
  exit 1
fi

mkdir -p "$build/screenshots"
out=$(cd "$build/screenshots" && pwd)/$name.png
import -display "$display" -window root "$out"
echo "$out"
