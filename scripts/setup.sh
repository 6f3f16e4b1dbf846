#!/usr/bin/env bash
# Installs everything Quillpost needs on Debian 12 and builds it.
# Usage: scripts/setup.sh [release|asan|program|none]
#   release: everything, tests included (the default); asan: the same under
#   the sanitizers; program: the program alone, quietly (output only when a
#   step fails); none: install only.
# Quick when all is already there; every message goes to standard error so that
# the program's own output stays clean.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
FLAVOUR=${1:-release}

log() { echo "[setup] $*" >&2; }

# shellcheck source=apt-packages.sh
source "$ROOT/scripts/apt-packages.sh"

# ccache: the builds share compiled objects; iproute2: the loopback interface
# of the private network that the port-scanning tests run in.
PACKAGES=(g++ cmake ninja-build pkg-config ca-certificates media-types
  libcurl4-openssl-dev libpcre2-dev nlohmann-json3-dev libicu-dev
  libyaml-dev libgtest-dev libgmock-dev locales tzdata scdoc dpkg-dev file ccache
  iproute2)

# The tests pin these locales ("name charset", as /etc/locale.gen writes
# them); generating them needs the locales package.
LOCALES=("en_US.UTF-8 UTF-8" "de_DE.UTF-8 UTF-8" "ja_JP.UTF-8 UTF-8"
  "de_DE.ISO-8859-1 ISO-8859-1")

# "de_DE.ISO-8859-1" as `locale -a` lists it: "de_DE.iso88591".
normal_locale_name() {
  echo "$1" | tr '[:upper:]' '[:lower:]' | sed 's/-//g'
}

install_locales() {
  local available missing=()
  available=$(locale -a 2>/dev/null | while read -r name; do normal_locale_name "$name"; done)
  for entry in "${LOCALES[@]}"; do
    grep -qx "$(normal_locale_name "${entry%% *}")" <<<"$available" || missing+=("$entry")
  done
  [ ${#missing[@]} -eq 0 ] && return
  log "generating locales ${missing[*]}"
  for entry in "${missing[@]}"; do
    grep -qx "$entry" /etc/locale.gen 2>/dev/null ||
      echo "$entry" | as_root tee -a /etc/locale.gen >/dev/null
  done
  quietly as_root locale-gen
}

build() {
  [ "$FLAVOUR" = none ] && return
  local dir="$ROOT/build/$FLAVOUR" target=()
  local options=(-G Ninja -DQUILLPOST_WERROR=ON)
  case "$FLAVOUR" in
    release) options+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    program) dir="$ROOT/build/release"; target=(--target quillpost manpage)
      options+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    asan) options+=(-DCMAKE_BUILD_TYPE=Debug -DQUILLPOST_SANITIZE=ON) ;;
    *) log "unknown build flavour $FLAVOUR"; exit 2 ;;
  esac
  if [ ! -f "$dir/build.ninja" ]; then
    quietly cmake -S "$ROOT" -B "$dir" "${options[@]}"
  fi
  quietly cmake --build "$dir" "${target[@]}"
}

# Runs a step with its output on standard error, or, for the program alone,
# kept in a log that is shown only when the step fails.
quietly() {
  if [ "$FLAVOUR" != program ]; then
    "$@" >&2
    return
  fi
  local log="$ROOT/build/setup.log"
  mkdir -p "$ROOT/build"
  "$@" >"$log" 2>&1 || { cat "$log" >&2; log "failed: $*"; exit 1; }
}

[ "$FLAVOUR" = program ] && export APT_QUIET=1
install_missing_packages "${PACKAGES[@]}"
install_locales
build
