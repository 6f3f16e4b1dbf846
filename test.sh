#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: once in a normal build and
# once under AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows
# build's tests under Wine, then a short smoke run of every fuzz target over
# its seeds. The tests against the real Joplin Data API use the headless
# server of tools/joplin-server, installed here first (once; quick
# afterwards). The Linux suite also runs the Windows executable under Wine
# against its loopback server and the real one.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
JOBS=$(nproc)

"$ROOT/scripts/setup.sh" release
"$ROOT/build-windows.sh"
"$ROOT/tools/joplin-server/joplin-server.sh" install
# The shells whose completion files the tests check.
source "$ROOT/scripts/apt-packages.sh"
install_missing_packages zsh fish
export QUILLPOST_REQUIRE_JOPLIN=1 QUILLPOST_REQUIRE_SHELLS=1 QUILLPOST_REQUIRE_WINE=1
ctest --test-dir "$ROOT/build/release" --output-on-failure -j "$JOBS"

"$ROOT/scripts/setup.sh" asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$ROOT/build/asan" --output-on-failure -j "$JOBS"

ctest --test-dir "$ROOT/build/windows" --output-on-failure

"$ROOT/fuzz/run.sh" smoke
