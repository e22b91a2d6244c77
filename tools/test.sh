#!/usr/bin/env bash
# The project's test command: installs missing Debian packages, then configures, builds and tests every preset
# (native and sanitize: the engine's tests; mingw-x64: the Windows program's tests under Wine in a private
# virtual display; mingw-i686: build only) and prints a summary. Exits non-zero when any step failed.
# It leaves nothing running that it started, and it deletes no build directory.
#
#   ./tools/test.sh            everything
#   ./tools/test.sh PRESET...  only those presets (native, sanitize, mingw-x64, mingw-i686)
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
# shellcheck source=tools/deps.sh
source "$root/tools/deps.sh"

export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
jobs=$CMAKE_BUILD_PARALLEL_LEVEL
logs=$root/build/test-logs
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native sanitize mingw-x64 mingw-i686)

summary=()
failed=0
tests_passed=0
tests_failed=0
wine_started=""

cleanup() {
  if [ -n "$wine_started" ]; then
    "$root/tools/wine-env.sh" stop "$root/build/mingw-x64" || true
    wine_started=""
  fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# step NAME COMMAND...: runs the command with its output shown and kept in build/test-logs/NAME.log.
step() {
  local name=$1
  shift
  local log="$logs/${name//[^A-Za-z0-9_.-]/_}.log" t0=$SECONDS rc
  mkdir -p "$logs"
  printf '\n==== %s: %s\n' "$name" "$*"
  "$@" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  local took=$((SECONDS - t0))
  if [ "$rc" -eq 0 ]; then
    summary+=("$(printf 'PASS  %-24s %4ss' "$name" "$took")")
  else
    summary+=("$(printf 'FAIL  %-24s %4ss  (exit %s; log: %s)' "$name" "$took" "$rc" "${log#"$root"/}")")
    failed=1
  fi
  return "$rc"
}

skip() { summary+=("$(printf 'SKIP  %-24s        (%s)' "$1" "$2")"); }

# Adds the counts of CTest's closing line ("NN% tests passed, F tests failed out of T") to the totals.
count_tests() {
  local line
  line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  [ -n "$line" ] || return 0
  local f t
  f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  tests_passed=$((tests_passed + t - f))
  tests_failed=$((tests_failed + f))
}

ctest_step() {
  local name=$1
  shift
  step "$name" "$@"
  local rc=$?
  count_tests "$logs/${name//[^A-Za-z0-9_.-]/_}.log"
  return $rc
}

if ! step deps lumorra_install_deps; then
  printf '\nMissing packages could not be installed; nothing was built.\n'
  exit 1
fi

for preset in "${presets[@]}"; do
  case "$preset" in
    native | sanitize)
      step "$preset: configure" cmake --preset "$preset" &&
        step "$preset: build" cmake --build --preset "$preset" &&
        ctest_step "$preset: test" ctest --preset "$preset" -j "$jobs"
      ;;
    mingw-x64)
      if step "$preset: configure" cmake --preset "$preset" && step "$preset: build" cmake --build --preset "$preset"; then
        if ! "$root/tools/wine-env.sh" status "$root/build/mingw-x64"; then
          wine_started=1
        fi
        # An environment brought up here lives until this script ends (no idle time-out).
        if step "$preset: Wine environment" env -u LUMORRA_WINE_LINGER -u LUMORRA_WINE_DISPLAY \
             "$root/tools/wine-env.sh" start "$root/build/mingw-x64"; then
          ctest_step "$preset: test" ctest --preset "$preset"
        fi
      fi
      ;;
    mingw-i686)
      step "$preset: configure" cmake --preset "$preset" &&
        step "$preset: build" cmake --build --preset "$preset"
      ;;
    *)
      echo "unknown preset: $preset" >&2
      skip "$preset" "unknown preset"
      failed=1
      ;;
  esac
done

cleanup

printf '\n==== Summary\n'
printf '%s\n' "${summary[@]}"
if [ "$failed" -eq 0 ]; then
  printf 'All steps passed.\n'
else
  printf 'Some steps FAILED (logs in %s).\n' "${logs#"$root"/}"
fi
printf 'tests: %d passed, %d failed\n' "$tests_passed" "$tests_failed"
exit "$failed"
