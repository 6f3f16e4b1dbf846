#!/usr/bin/env bash
# Sets everything up, builds, and runs the tests.
#   ./test.sh        every test: a normal build, then a build under
#                    AddressSanitizer and UndefinedBehaviorSanitizer, then the
#                    Windows build's tests under Wine, then a short smoke run of
#                    every fuzz target over its seeds. The tests against the
#                    real Joplin Data API use the headless server of
#                    tools/joplin-server, installed here first (once; quick
#                    afterwards), and the Linux suite also runs the Windows
#                    executable under Wine against its loopback server and the
#                    real one. Those slow suites (CTest labels "joplin" and
#                    "wine") run once, in the normal build.
#   ./test.sh quick  the normal build and every test that needs neither the
#                    Joplin server nor Wine: a few minutes once built.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
JOBS=$(nproc)
MODE=${1:-all}
SLOW_SUITES="joplin|wine"

case "$MODE" in
  quick)
    "$ROOT/scripts/setup.sh" release
    ctest --test-dir "$ROOT/build/release" --output-on-failure -j "$JOBS" -LE "$SLOW_SUITES"
    exit 0
    ;;
  all) ;;
  *)
    echo "usage: ./test.sh [quick]" >&2
    exit 2
    ;;
esac

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
  ctest --test-dir "$ROOT/build/asan" --output-on-failure -j "$JOBS" -LE "$SLOW_SUITES"

ctest --test-dir "$ROOT/build/windows" --output-on-failure

"$ROOT/fuzz/run.sh" smoke
