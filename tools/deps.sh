#!/usr/bin/env bash
# The Debian packages that building, testing and running need, installed when missing (sourced by test.sh,
# run.sh and bench.sh; `tools/deps.sh` alone installs them). It installs nothing else and changes no settings.

lumorra_packages=(
  cmake ninja-build g++ python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64
  xvfb x11-utils xdotool trayer imagemagick
  fonts-wine fonts-wqy-microhei locales
)

# Installs the missing packages (apt-get update once, only if something is missing). As root directly,
# otherwise with sudo when there is one. Returns non-zero when something is still missing.
lumorra_install_deps() {
  local missing=() p
  for p in "${lumorra_packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "Not root and no sudo: install these packages first: ${missing[*]}" >&2
      return 1
    fi
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q || return 1
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" </dev/null || return 1
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  lumorra_install_deps
fi
