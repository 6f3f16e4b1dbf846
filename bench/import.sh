#!/usr/bin/env bash
# The folder import against the real headless Joplin server (tools/joplin-server),
# each yardstick on a fresh server of its own, on the tree of bench/import-tree.js
# (10,000 notes in 200 folders, 2,000 shared images, 5,000 links, front matter
# on half):
#
#   first import   quillpost --import                          (time, notes/s, peak memory)
#                  curl replaying exactly the same requests, in one process
#                  Joplin's own importer: the terminal application's
#                  "import DIR --format md" into a fresh profile, timed whole
#   re-run         nothing changed (goal: under 1 s, no request per file)
#   re-run         10 files changed (exactly their updates)
#
#   bench/import.sh [NOTES]        (default 10000)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../scripts/apt-packages.sh
source "$ROOT/scripts/apt-packages.sh"
"$ROOT/scripts/setup.sh" release >/dev/null
install_missing_packages time curl bc
"$ROOT/tools/joplin-server/joplin-server.sh" install
QUILLPOST="$ROOT/build/release/quillpost"
SCRIPT="$ROOT/tools/joplin-server/joplin-server.sh"
JOPLIN="$ROOT/tools/joplin-server/node_modules/.bin/joplin"
NOTES=${1:-10000}
WORK=$(mktemp -d /tmp/quillpost-import-XXXXXX)
STATE=
CAPTURE=
cleanup() {
  [ -n "$CAPTURE" ] && kill "$CAPTURE" 2>/dev/null
  [ -n "$STATE" ] && "$SCRIPT" stop "$STATE" >/dev/null 2>&1
  rm -rf "$WORK"
}
trap cleanup EXIT

now() { date +%s.%3N; }
seconds() { echo "$2 - $1" | bc; }
ratio() { echo "scale=2; $1 / $2" | bc; }
rate() { echo "scale=0; $NOTES / $1" | bc; }

start_server() {
  { read -r URL; read -r TOKEN; read -r STATE; } < <("$SCRIPT" start --state "$WORK/$1")
  printf '[Host]\nURL=%s\nToken=%s\n' "$URL" "$TOKEN" >"$WORK/$1.ini"
  chmod 600 "$WORK/$1.ini"
}

stop_server() {
  "$SCRIPT" stop "$STATE" >/dev/null
  STATE=
}

echo "writing the tree of $NOTES notes ..."
node "$ROOT/bench/import-tree.js" "$WORK/tree" "$NOTES"

# The requests of a first import, captured for curl to replay byte for byte.
node "$ROOT/bench/capture-api.js" "$WORK/capture" >"$WORK/capture.port" &
CAPTURE=$!
for _ in $(seq 1 100); do [ -s "$WORK/capture.port" ] && break; sleep 0.05; done
printf '[Host]\nURL=http://127.0.0.1:%s\nToken=bench\n' "$(head -1 "$WORK/capture.port")" \
  >"$WORK/capture.ini"
chmod 600 "$WORK/capture.ini"
XDG_STATE_HOME="$WORK/state-capture" "$QUILLPOST" "/IniFile=$WORK/capture.ini" \
  --import "$WORK/tree" >/dev/null
kill "$CAPTURE" && wait "$CAPTURE" 2>/dev/null || true
CAPTURE=
REQUESTS=$(find "$WORK/capture" -name '*.req' | wc -l)

# curl's config: one request after the other ("next"), the same bodies.
replay_config() {
  local req method target type
  for req in "$WORK"/capture/*.req; do
    { read -r method; read -r target; read -r type; } <"$req"
    case "$target" in *\?*) target="$target&token=$TOKEN" ;; *) target="$target?token=$TOKEN" ;; esac
    printf 'url = "%s%s"\nrequest = %s\n' "$URL" "$target" "$method"
    [ -n "$type" ] && printf 'header = "Content-Type: %s"\ndata-binary = "@%s"\n' "$type" "${req%.req}.body"
    printf 'output = /dev/null\nsilent\nnext\n'
  done
}

echo "first import: quillpost ..."
start_server quillpost
t0=$(now)
XDG_STATE_HOME="$WORK/state" /usr/bin/time -f "%M" -o "$WORK/peak" \
  "$QUILLPOST" "/IniFile=$WORK/quillpost.ini" --import "$WORK/tree" >"$WORK/first.out"
t1=$(now)
FIRST=$(seconds "$t0" "$t1")
PEAK_MB=$(echo "scale=1; $(cat "$WORK/peak") / 1024" | bc)
t0=$(now)
XDG_STATE_HOME="$WORK/state" "$QUILLPOST" "/IniFile=$WORK/quillpost.ini" --import "$WORK/tree" \
  >"$WORK/same.out"
t1=$(now)
SAME=$(seconds "$t0" "$t1")
for n in 1 3 5 7 9 11 13 15 17 19; do
  echo "changed $n" >>"$WORK/tree/$(cd "$WORK/tree" && ls -d f*/s* | sed -n "$((n % 200 + 1))p")/n$n.md"
done
t0=$(now)
XDG_STATE_HOME="$WORK/state" "$QUILLPOST" "/IniFile=$WORK/quillpost.ini" --import "$WORK/tree" \
  >"$WORK/ten.out"
t1=$(now)
TEN=$(seconds "$t0" "$t1")
stop_server

echo "first import: curl replaying the same $REQUESTS requests ..."
start_server curl
replay_config | sed '$d' >"$WORK/curl.cfg"
t0=$(now)
/usr/bin/time -f "%M" -o "$WORK/curl.peak" curl --config "$WORK/curl.cfg"
t1=$(now)
CURL=$(seconds "$t0" "$t1")
CURL_MB=$(echo "scale=1; $(cat "$WORK/curl.peak") / 1024" | bc)
stop_server

echo "first import: Joplin's own importer ..."
t0=$(now)
/usr/bin/time -f "%M" -o "$WORK/joplin.peak" \
  "$JOPLIN" --profile "$WORK/joplin-profile" import "$WORK/tree" --format md >/dev/null 2>&1
t1=$(now)
JOPLIN_S=$(seconds "$t0" "$t1")
JOPLIN_MB=$(echo "scale=1; $(cat "$WORK/joplin.peak") / 1024" | bc)

echo
printf "%-34s %9s %9s %10s\n" "" "s" "notes/s" "peak(MB)"
printf "%-34s %9s %9s %10s\n" "first import: quillpost" "$FIRST" "$(rate "$FIRST")" "$PEAK_MB"
printf "%-34s %9s %9s %10s\n" "first import: curl, same requests" "$CURL" "$(rate "$CURL")" "$CURL_MB"
printf "%-34s %9s %9s %10s\n" "first import: Joplin's importer" "$JOPLIN_S" "$(rate "$JOPLIN_S")" "$JOPLIN_MB"
printf "%-34s %9s\n" "re-run, nothing changed" "$SAME"
printf "%-34s %9s\n" "re-run, 10 files changed" "$TEN"
echo
echo "quillpost / curl: $(ratio "$FIRST" "$CURL") (goal <= 1.2)"
echo "quillpost / Joplin's importer: $(ratio "$FIRST" "$JOPLIN_S") (goal <= 1)"
echo "first run:   $(cat "$WORK/first.out")"
echo "unchanged:   $(cat "$WORK/same.out")"
echo "ten changed: $(cat "$WORK/ten.out")"
