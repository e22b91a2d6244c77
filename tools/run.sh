#!/usr/bin/env bash
# Builds lumorra.exe (mingw-x64 preset) and runs it under Wine, in a prefix inside the build tree. With a
# working $DISPLAY the program opens there and this waits until it ends. Without one, a virtual display (Xvfb)
# is opened, a screenshot is saved after a few seconds into build/mingw-x64/screenshots/, and the program is
# then ended (or kept running with --keep). On Windows this script is not used: build with CMake and start
# lumorra.exe.
#
#   ./tools/run.sh [--keep] [--delay SECONDS]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=tools/deps.sh
source "$root/tools/deps.sh"

keep=""
delay=8
while [ $# -gt 0 ]; do
  case "$1" in
    --keep) keep=1 ;;
    --delay) delay=$2; shift ;;
    *) sed -n '2,9s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
  esac
  shift
done

lumorra_install_deps
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
build=$root/build/mingw-x64
cmake --preset mingw-x64
cmake --build --preset mingw-x64 --target lumorra

exe=$(find "$build" -path "$build/wine-prefix*" -prune -o -type f -name lumorra.exe -print | head -n 1)
if [ -z "$exe" ]; then
  echo "run: lumorra.exe was not built" >&2
  exit 1
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export LUMORRA_WINE_DISPLAY=$DISPLAY
  "$root/tools/wine-env.sh" start "$build"
  eval "$("$root/tools/wine-env.sh" env "$build")"
  echo "Running ${exe#"$root"/} on $DISPLAY"
  exec env LC_ALL="$LUMORRA_WINE_LOCALE" wine "$exe"
fi

echo "No display: opening a virtual one (Xvfb) for Lumorra."
started=""
if ! env -u LUMORRA_WINE_DISPLAY "$root/tools/wine-env.sh" status "$build"; then
  started=1
fi
env -u LUMORRA_WINE_DISPLAY -u LUMORRA_WINE_LINGER "$root/tools/wine-env.sh" start "$build"
eval "$(env -u LUMORRA_WINE_DISPLAY "$root/tools/wine-env.sh" env "$build")"

log=$build/wine-env/lumorra-run.log
env LC_ALL="$LUMORRA_WINE_LOCALE" wine "$exe" </dev/null >"$log" 2>&1 &
pid=$!
echo "Running ${exe#"$root"/} on the virtual display $DISPLAY (Wine's output: ${log#"$root"/})"
sleep "$delay"
if ! kill -0 "$pid" 2>/dev/null; then
  wait "$pid" && rc=0 || rc=$?
  echo "run: lumorra.exe ended within ${delay} s, exit code $rc (Wine reports the low 8 bits: 255 is -1)" >&2
fi
shot=$("$root/tools/screenshot.sh" --build-dir "$build" "lumorra-$(date +%Y%m%d-%H%M%S)")
echo "Screenshot: $shot"

if [ -n "$keep" ]; then
  echo "Still running (DISPLAY=$DISPLAY). More screenshots: tools/screenshot.sh; stop: tools/wine-env.sh stop"
  exit 0
fi
# The Wine loader process is the Windows process itself: SIGTERM ends lumorra.exe (and nothing else).
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
if [ -n "$started" ]; then
  "$root/tools/wine-env.sh" stop "$build"
fi
