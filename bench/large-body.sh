#!/usr/bin/env bash
# Time and peak memory of whole runs with a large Markdown body, sent to a
# local stand-in for the Data API. Usage: bench/large-body.sh [MB ...]
# (default 50 100 200). Prints one line per size.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$ROOT/scripts/setup.sh" release
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (package time)" >&2; exit 1; }
WORK=$(mktemp -d)
node "$ROOT/bench/sink-server.js" >"$WORK/port" &
SINK=$!
trap 'kill $SINK 2>/dev/null; rm -rf "$WORK"' EXIT
for _ in $(seq 1 50); do [ -s "$WORK/port" ] && break; sleep 0.1; done
printf '[Host]\nURL=http://127.0.0.1:%s\nToken=bench\n' "$(cat "$WORK/port")" >"$WORK/q.ini"
chmod 600 "$WORK/q.ini"

# Lines of Markdown with a little of everything the writer escapes.
line='- item with **bold** text, a path /usr/local/bin and caf\xc3\xa9 "quotes"\n'
printf "%b" "$line" >"$WORK/line"
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(50 100 200)
printf "%-10s %-10s %-10s %-10s %s\n" "size(MB)" "time(s)" "peak(MB)" "peak/size" "result"
for size in "${sizes[@]}"; do
  # Build the file by doubling the line, then cut it to size.
  cp "$WORK/line" "$WORK/body.md"
  while [ "$(stat -c %s "$WORK/body.md")" -lt $((size * 1024 * 1024)) ]; do
    cat "$WORK/body.md" "$WORK/body.md" >"$WORK/body2.md" && mv "$WORK/body2.md" "$WORK/body.md"
  done
  truncate -s $((size * 1024 * 1024)) "$WORK/body.md"
  /usr/bin/time -f "%e %M" -o "$WORK/time" "$ROOT/build/release/quillpost" \
    "/IniFile=$WORK/q.ini" /I "Large body" /S "$WORK/body.md" >"$WORK/out"
  read -r seconds kilobytes <"$WORK/time"
  peak=$((kilobytes / 1024))
  printf "%-10s %-10s %-10s %-10s %s\n" "$size" "$seconds" "$peak" \
    "$(awk -v p="$peak" -v s="$size" 'BEGIN { printf "%.2f", p / s }')" "$(cat "$WORK/out")"
done
