#!/usr/bin/env bash
# Time and peak memory of whole runs against hostile servers and inputs: each
# must end within its bound and with a clear error, without memory growing
# with what the other side sends.
#
#   bench/hostile.sh
#
# The run-wide answer budget is set to 10 s (QUILLPOST_TIMEOUT) so that the
# slow cases end sooner than the default 120 s would let them.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../scripts/apt-packages.sh
source "$ROOT/scripts/apt-packages.sh"
"$ROOT/scripts/setup.sh" release
install_missing_packages time
command -v node >/dev/null 2>&1 || install_missing_packages nodejs
QUILLPOST="$ROOT/build/release/quillpost"
WORK=$(mktemp -d /tmp/quillpost-hostile-XXXXXX)
SERVER=
trap '[ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null; rm -rf "$WORK"' EXIT
export QUILLPOST_TIMEOUT=10

start_server() {
  [ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null && wait "$SERVER" 2>/dev/null || true
  rm -f "$WORK/port"
  node "$ROOT/bench/hostile-server.js" "$1" >"$WORK/port" &
  SERVER=$!
  for _ in $(seq 1 100); do [ -s "$WORK/port" ] && break; sleep 0.05; done
  printf '[Host]\nURL=http://127.0.0.1:%s\nToken=bench\n' "$(head -1 "$WORK/port")" >"$WORK/q.ini"
  chmod 600 "$WORK/q.ini"
}

# measure CASE COMMAND...: exit code, seconds, peak memory and the result line.
measure() {
  local name=$1
  shift
  local code=0
  /usr/bin/time -f "%e %M" -o "$WORK/time" "$@" >"$WORK/out" 2>"$WORK/err" </dev/null || code=$?
  read -r seconds kilobytes < <(tail -1 "$WORK/time")
  printf "%-22s %4s %8s %9s  %s\n" "$name" "$code" "$seconds" "$((kilobytes / 1024))" \
    "$(head -c 100 "$WORK/out" | head -1)"
}

printf "%-22s %4s %8s %9s  %s\n" case exit "time(s)" "peak(MB)" "result line"
for mode in deep huge drip stall repeat endless reset; do
  start_server "$mode"
  measure "server: $mode" "$QUILLPOST" "/IniFile=$WORK/q.ini" /N Inbox /I Hostile /SN
done
mkfifo "$WORK/fifo.ini"
measure "settings: FIFO" "$QUILLPOST" "/IniFile=$WORK/fifo.ini" /I Hostile /SN
truncate -s 1G "$WORK/huge.ini"
measure "settings: 1 GiB file" "$QUILLPOST" "/IniFile=$WORK/huge.ini" /I Hostile /SN
