#!/usr/bin/env bash
# Large notes against the real headless Joplin server (tools/joplin-server):
# for each size, a Markdown body of that many MiB with one small attachment.
# Quillpost must end in "Done"; the note is read back with the right length
# and its resource is there. Beside it, curl posts the same note JSON to the
# same server. Prints each size's times, their ratio, Quillpost's peak memory
# and what it holds beyond a bare run (--version) as a share of the body.
#
#   bench/joplin-sizes.sh [MIB ...]      (default: 1 10 50 100 200)
#
# The server's own log is kept in the work folder printed at the end, for a
# size the server cannot store: with Node's default heap (about 4 GB) the
# server runs out of memory on a 200 MiB note, so the server gets 12 GB here
# (NODE_OPTIONS, unless set already).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../scripts/apt-packages.sh
source "$ROOT/scripts/apt-packages.sh"
"$ROOT/scripts/setup.sh" release >/dev/null
install_missing_packages time curl
"$ROOT/tools/joplin-server/joplin-server.sh" install
QUILLPOST="$ROOT/build/release/quillpost"
SCRIPT="$ROOT/tools/joplin-server/joplin-server.sh"
WORK=$(mktemp -d /tmp/quillpost-sizes-XXXXXX)
STAND_IN=
STATE=
cleanup() {
  [ -n "$STAND_IN" ] && kill "$STAND_IN" 2>/dev/null
  [ -n "$STATE" ] && cp "$STATE/server.log" "$WORK/server.log" 2>/dev/null &&
    "$SCRIPT" stop "$STATE" >/dev/null 2>&1
  rm -f "$WORK"/body.md "$WORK"/note.json
}
trap cleanup EXIT

export NODE_OPTIONS=${NODE_OPTIONS:---max-old-space-size=12288}
{ read -r URL; read -r TOKEN; read -r STATE; } < <("$SCRIPT" start --state "$WORK/server")
printf '[Host]\nURL=%s\nToken=%s\n' "$URL" "$TOKEN" >"$WORK/joplin.ini"
chmod 600 "$WORK/joplin.ini"
printf '\x89PNG\r\n\x1a\n' >"$WORK/small.png"

# The note JSON Quillpost sends, captured by the loopback stand-in for curl.
capture_note_json() {
  rm -f "$WORK/port"
  node "$ROOT/bench/data-api.js" 5 "$WORK/note.json" >"$WORK/port" &
  STAND_IN=$!
  for _ in $(seq 1 100); do [ -s "$WORK/port" ] && break; sleep 0.05; done
  printf '[Host]\nURL=http://127.0.0.1:%s\nToken=bench\n' "$(head -1 "$WORK/port")" \
    >"$WORK/stand-in.ini"
  chmod 600 "$WORK/stand-in.ini"
  "$QUILLPOST" "/IniFile=$WORK/stand-in.ini" "$@" >/dev/null
  kill "$STAND_IN" && wait "$STAND_IN" 2>/dev/null || true
  STAND_IN=
}

# Seconds since the epoch, to the millisecond.
now() { date +%s.%3N; }

# The note's body length in bytes, read back through the Data API.
body_length() {
  curl -s --fail "$URL/notes/$1?fields=body&token=$TOKEN" |
    node -e 'let s=[];process.stdin.on("data",d=>s.push(d)).on("end",()=>{
      console.log(Buffer.byteLength(JSON.parse(Buffer.concat(s)).body));})'
}

resource_title() {
  curl -s --fail "$URL/resources/$1?fields=title&token=$TOKEN" |
    node -e 'let s="";process.stdin.on("data",d=>s+=d).on("end",()=>console.log(JSON.parse(s).title))'
}

# One MiB of whole Markdown lines, the bodies made of copies of it.
line='- a line of a large note, with **bold** words and a path /usr/local/bin'
for _ in $(seq 1 $(((1 << 20) / (${#line} + 1)))); do echo "$line"; done >"$WORK/mib.md"

# What any run holds before the body: the program itself.
/usr/bin/time -f "%M" -o "$WORK/base" "$QUILLPOST" --version >/dev/null
BASE_KB=$(cat "$WORK/base")

printf "%6s %12s %12s %7s %10s %7s  %s\n" MiB "quillpost(s)" "curl(s)" ratio "peak(MB)" \
  "+/body" "read back"
for size in "${@:-1 10 50 100 200}"; do
  for mib in $size; do
    for _ in $(seq 1 "$mib"); do cat "$WORK/mib.md"; done >"$WORK/body.md"
    local_lines=$(wc -l <"$WORK/body.md")
    bytes=$(stat -c %s "$WORK/body.md")
    run=(/I "Size $mib MiB" /S "$WORK/body.md" /A "$WORK/small.png")

    start=$(now)
    /usr/bin/time -f "%M" -o "$WORK/peak" "$QUILLPOST" "/IniFile=$WORK/joplin.ini" "${run[@]}" \
      >"$WORK/out" 2>"$WORK/err" || true
    end=$(now)
    result=$(cat "$WORK/out")
    if [[ "$result" != "Done (Note id: "* ]]; then
      printf "%6s  failed: %s %s\n" "$mib" "$result" "$(tail -2 "$WORK/err")"
      continue
    fi
    id=${result#Done (Note id: }
    id=${id%)}
    peak=$(awk '{ printf "%.1f", $1 / 1024 }' "$WORK/peak")
    share=$(awk -v p="$(cat "$WORK/peak")" -v base="$BASE_KB" -v b="$bytes" \
      'BEGIN { printf "%.2f", (p - base) * 1024 / b }')
    linked=$(curl -s "$URL/notes/$id/resources?fields=id&token=$TOKEN" |
      node -e 'let s="";process.stdin.on("data",d=>s+=d).on("end",()=>console.log(JSON.parse(s).items.map(i=>i.id).join(" ")))')
    # Every LF sent as CR LF, then "\r\n![small.png](:/ID)".
    expected=$((bytes + local_lines + 50))
    got=$(body_length "$id")
    check="body $got of $expected bytes, resource: $(resource_title "$linked")"

    capture_note_json "${run[@]}"
    cstart=$(now)
    curl -s --fail -o /dev/null -H "Content-Type: application/json" \
      --data-binary "@$WORK/note.json" "$URL/notes?token=$TOKEN"
    cend=$(now)
    q=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.2f", e - s }')
    c=$(awk -v s="$cstart" -v e="$cend" 'BEGIN { printf "%.2f", e - s }')
    printf "%6s %12s %12s %7.2f %10s %7s  %s\n" "$mib" "$q" "$c" \
      "$(awk -v a="$q" -v b="$c" 'BEGIN { print a / b }')" "$peak" "$share" "$check"
  done
done
echo "(work folder with the server's log: $WORK)"
