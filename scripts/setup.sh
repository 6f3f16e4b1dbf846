#!/usr/bin/env bash
# Installs everything Quillpost needs on Debian 12 and builds it.
# Usage: scripts/setup.sh [release|asan]   (default: release)
# Quick when all is already there; every message goes to standard error so that
# the program's own output stays clean.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
FLAVOUR=${1:-release}

log() { echo "[setup] $*" >&2; }

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

PACKAGES=(g++ cmake ninja-build pkg-config ca-certificates
  libcurl4-openssl-dev libpcre2-dev nlohmann-json3-dev libicu-dev
  libgtest-dev libgmock-dev locales tzdata)

install_packages() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  log "installing ${missing[*]}"
  as_root apt-get update -qq >&2
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >&2
}

# The tests pin these locales; generating them needs the locales package.
LOCALES=(en_US.UTF-8 de_DE.UTF-8 ja_JP.UTF-8)

install_locales() {
  local available missing=()
  available=$(locale -a 2>/dev/null | tr '[:upper:]' '[:lower:]' | sed 's/utf-8/utf8/')
  for name in "${LOCALES[@]}"; do
    local normal
    normal=$(echo "$name" | tr '[:upper:]' '[:lower:]' | sed 's/utf-8/utf8/')
    grep -qx "$normal" <<<"$available" || missing+=("$name")
  done
  [ ${#missing[@]} -eq 0 ] && return
  log "generating locales ${missing[*]}"
  for name in "${missing[@]}"; do
    grep -q "^$name UTF-8" /etc/locale.gen 2>/dev/null ||
      echo "$name UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
  done
  as_root locale-gen >&2
}

build() {
  local dir="$ROOT/build/$FLAVOUR"
  local options=(-G Ninja -DQUILLPOST_WERROR=ON)
  case "$FLAVOUR" in
    release) options+=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    asan) options+=(-DCMAKE_BUILD_TYPE=Debug -DQUILLPOST_SANITIZE=ON) ;;
    *) log "unknown build flavour $FLAVOUR"; exit 2 ;;
  esac
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$ROOT" -B "$dir" "${options[@]}" >&2
  fi
  cmake --build "$dir" >&2
}

install_packages
install_locales
build
