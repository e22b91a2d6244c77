#!/usr/bin/env bash
# Runs one Windows program under Wine in the build tree's private environment (tools/wine-env.sh): CTest's
# emulator for the cross-built tests, and handy by hand. It brings the environment up when it is not (a plain
# `ctest`), and then leaves it running for the next program; it builds nothing.
#
#   tools/wine-run.sh [--build-dir DIR] PROGRAM.exe [ARGS...]
#
# DIR defaults to the nearest directory above PROGRAM that holds a CMakeCache.txt, else build/mingw-x64.
# The exit status is the Windows program's exit code, as far as a Unix status can carry it: Wine passes on the
# low 8 bits, so ExitProcess(-1) (0xFFFFFFFF) arrives as 255 and a crash (0xC0000005) as 5; a non-zero code whose
# low byte is 0 (256, 0xC0000100) arrives as 1, so a failure never reads as success (seen with Wine 8.0). Tests
# that must see a program's exact 32-bit code read it on the Windows side (GetExitCodeProcess, as
# lumorra::test::LumorraProcess::WaitForExit does).
set -u

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

build=""
if [ "${1:-}" = "--build-dir" ]; then
  build=$2
  shift 2
fi
if [ $# -lt 1 ]; then
  sed -n '2,13s/^# \{0,1\}//p' "$0" >&2
  exit 2
fi

if [ -z "$build" ]; then
  d=$(cd "$(dirname "$1")" 2>/dev/null && pwd)
  while [ -n "$d" ] && [ "$d" != / ]; do
    if [ -f "$d/CMakeCache.txt" ]; then build=$d; break; fi
    d=$(dirname "$d")
  done
  [ -n "$build" ] || build="$here/../build/mingw-x64"
fi

# Tests never run on the caller's display, even one chosen for tools/run.sh.
unset LUMORRA_WINE_DISPLAY

# Brought up here (not by tools/test.sh or by hand), the environment takes itself down after a few idle minutes.
# When it is up, this costs a status check: no lock and no Wine command.
if ! env_file=$("$here/wine-env.sh" env "$build" 2>/dev/null); then
  LUMORRA_WINE_LINGER=${LUMORRA_WINE_LINGER:-300} "$here/wine-env.sh" start "$build" || exit 125
  env_file=$("$here/wine-env.sh" env "$build") || { echo "wine-run: the Wine environment of $build is not up" >&2; exit 125; }
fi
eval "$env_file"

# The program's output goes through a file, not straight to our output: a program that makes the first window
# on the desktop starts explorer.exe, which inherits the program's output and keeps it open for a second after
# the program has ended; CTest would wait for that with every such test. tail streams the file meanwhile.
out=$(mktemp "${TMPDIR:-/tmp}/lumorra-wine-run.XXXXXX") || exit 125
# The locale is passed only to Wine (see wine-env.sh): it makes the ANSI code page 936, as on Chinese Windows.
env LC_ALL="$LUMORRA_WINE_LOCALE" wine "$@" >"$out" 2>&1 &
program=$!
tail -n +1 -s 0.1 -f --pid="$program" "$out" &
follower=$!
trap 'kill "$program" "$follower" 2>/dev/null; rm -f "$out"; exit 143' TERM INT HUP
wait "$program"
rc=$?
wait "$follower"
rm -f "$out"
exit "$rc"
