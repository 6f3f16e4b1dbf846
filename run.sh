#!/usr/bin/env bash
# Sets everything up, builds, and runs Quillpost with the arguments given.
# Where no Joplin is there to use, a local Joplin server serves as the default
# (scripts/default-server.sh says when it starts one).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$ROOT/scripts/setup.sh" program
"$ROOT/scripts/default-server.sh" "$@" || exit 3
exec "$ROOT/build/release/quillpost" "$@"
