#!/usr/bin/env bash
# Builds Quillpost for 64-bit Windows on Debian 12: installs the MinGW-w64
# cross compiler and Wine with apt-get (once; quick afterwards), cross-builds
# build/windows/quillpost.exe (one static executable that needs nothing else
# on Windows) and the Windows tests, and prepares Wine's prefix for them.
#   ./build-windows.sh          the executable and the tests
#   ./build-windows.sh test     the same, then the Windows tests under Wine
# Every message goes to standard error.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
BUILD="$ROOT/build/windows"

# shellcheck source=scripts/apt-packages.sh
source "$ROOT/scripts/apt-packages.sh"

# googletest: its sources, built here with the cross compiler. libgnutls30:
# Wine's secure connections.
# libyaml: Debian's sources, fetched once and built here the same way.
install_missing_packages g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix cmake \
  ninja-build nlohmann-json3-dev googletest wine wine64 libgnutls30 curl ca-certificates
LIBYAML="$ROOT/build/third-party/libyaml"
"$ROOT/scripts/libyaml-source.sh" "$LIBYAML"

if ! grep -q "^QUILLPOST_LIBYAML_SOURCE:" "$BUILD/CMakeCache.txt" 2>/dev/null; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQUILLPOST_WERROR=ON -DQUILLPOST_LIBYAML_SOURCE="$LIBYAML" >&2
fi
cmake --build "$BUILD" --target quillpost quillpost_tests hold_open >&2

# Wine creates its prefix on first start (about 15 s); doing it here keeps
# that out of the tests' time.
export WINEPREFIX="$BUILD/wine-prefix" WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "[build-windows] preparing Wine's prefix" >&2
  wineboot --init >&2 2>/dev/null || true
  wineserver --wait
fi
echo "[build-windows] $BUILD/quillpost.exe" >&2

if [ "${1:-}" = test ]; then
  ctest --test-dir "$BUILD" --output-on-failure
fi
