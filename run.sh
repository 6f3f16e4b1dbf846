#!/usr/bin/env bash
# Sets everything up, builds, and runs Quillpost with the arguments given.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$ROOT/scripts/setup.sh" program
exec "$ROOT/build/release/quillpost" "$@"
