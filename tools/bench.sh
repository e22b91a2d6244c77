#!/usr/bin/env bash
# Builds the native preset and runs the benchmark program (lumorra_bench), printing its figures. Arguments go
# to the benchmark (e.g. --benchmark_filter=Split). It checks no speed goal: the figures are for reading.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=tools/deps.sh
source "$root/tools/deps.sh"
lumorra_install_deps

export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
cmake --preset native
cmake --build --preset native --target lumorra_bench
bench=$(find "$root/build/native" -type f -name lumorra_bench -perm -u+x | head -n 1)
if [ -z "$bench" ]; then
  echo "bench: lumorra_bench was not built" >&2
  exit 1
fi
echo "Running ${bench#"$root"/}"
exec "$bench" "$@"
