#!/usr/bin/env bash
# Quillpost side by side with a yardstick doing the same requests to the same
# loopback stand-in for the Data API (bench/data-api.js): each row runs the
# two commands in turn, ROUNDS times, and prints the medians, their ratio, and
# the peak memory of one more run of each.
#
#   bench/compare.sh [ROW ...]
#
# Rows (all by default):
#   notebooks    /N with 10,000 notebooks (100 pages)  vs curl: the same 100 GETs and the note
#   html         an HTML body of 1.8 MB with 200 local images  vs the same run as Markdown
#   body         a 200 MB Markdown body  vs curl sending the same JSON
#   small        /N, one attachment (.quux), a small body  vs curl: the same three requests
#   attachment   one 1 GiB attachment  vs curl -F
#   attachments  1000 attachments  vs curl: the same 1001 requests in one process
#   append       a 1 KB entry appended to a note of 10 MB  vs curl: the same GET and PUT
# BENCH_ROUNDS multiplies the rounds of every row (default 1).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=../scripts/apt-packages.sh
source "$ROOT/scripts/apt-packages.sh"
"$ROOT/scripts/setup.sh" release
install_missing_packages time curl
command -v node >/dev/null 2>&1 || install_missing_packages nodejs
QUILLPOST="$ROOT/build/release/quillpost"
WORK=$(mktemp -d /tmp/quillpost-bench-XXXXXX)
SERVER=
trap '[ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null; rm -rf "$WORK"' EXIT
MULTIPLIER=${BENCH_ROUNDS:-1}

# Starts the stand-in with NOTEBOOKS notebooks; CAPTURE keeps the note JSON it gets.
start_server() {
  [ -n "$SERVER" ] && kill "$SERVER" 2>/dev/null && wait "$SERVER" 2>/dev/null || true
  rm -f "$WORK/port"
  node "$ROOT/bench/data-api.js" "$1" "${2:-}" >"$WORK/port" &
  SERVER=$!
  for _ in $(seq 1 100); do [ -s "$WORK/port" ] && break; sleep 0.05; done
  BASE="http://127.0.0.1:$(head -1 "$WORK/port")"
  printf '[Host]\nURL=%s\nToken=bench\n' "$BASE" >"$WORK/q.ini"
  chmod 600 "$WORK/q.ini"
}

# Writes a curl config: each argument is one request, "GET resource" or
# "POST resource FILE" (a JSON file) or "FORM resource FILE" (a multipart upload).
curl_config() {
  local out=$1
  shift
  : >"$out"
  local first=1
  for request in "$@"; do
    read -r method resource file <<<"$request"
    [ $first -eq 1 ] || echo "next" >>"$out"
    first=0
    local sep='?'
    [[ "$resource" == *\?* ]] && sep='&'
    {
      echo "silent"
      echo "show-error"
      echo "fail"
      echo "output = /dev/null"
      echo "url = \"$BASE/$resource${sep}token=bench\""
      case "$method" in
        POST)
          echo "header = \"Content-Type: application/json\""
          echo "data-binary = \"@$file\""
          ;;
        FORM)
          echo "form = \"data=@$file\""
          echo "form = \"props={\\\"title\\\":\\\"$(basename "$file")\\\"}\""
          ;;
      esac
    } >>"$out"
  done
}

# The note JSON that Quillpost sends for a command, captured once, for curl to send.
capture_note() {
  local notebooks=$1
  shift
  start_server "$notebooks" "$WORK/note.json"
  "$@" >/dev/null
  start_server "$notebooks"
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Milliseconds of one run of the command; fails the benchmark when it fails.
time_once() {
  local start=$EPOCHREALTIME
  if ! "$@" >"$WORK/out" 2>"$WORK/err"; then
    echo "bench: failed: $*" >&2
    cat "$WORK/out" "$WORK/err" >&2
    exit 1
  fi
  local end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) * 1000 }'
}

peak_mb() {
  /usr/bin/time -f "%M" -o "$WORK/peak" "$@" >/dev/null 2>&1
  awk '{ printf "%.1f", $1 / 1024 }' "$WORK/peak"
}

# compare ROW ROUNDS GOAL -- COMMAND_A... -- COMMAND_B...
compare() {
  local row=$1 rounds=$(($2 * MULTIPLIER)) goal=$3
  shift 4
  local a=() b=()
  while [ "$1" != "--" ]; do a+=("$1"); shift; done
  shift
  b=("$@")
  : >"$WORK/a" && : >"$WORK/b"
  time_once "${a[@]}" >/dev/null # warm the caches
  time_once "${b[@]}" >/dev/null
  for _ in $(seq 1 "$rounds"); do
    time_once "${a[@]}" >>"$WORK/a"
    time_once "${b[@]}" >>"$WORK/b"
  done
  local ma mb
  ma=$(median <"$WORK/a")
  mb=$(median <"$WORK/b")
  printf "%-12s %10.1f %10.1f %7.2f %9s %9s  %s\n" "$row" "$ma" "$mb" \
    "$(awk -v a="$ma" -v b="$mb" 'BEGIN { print a / b }')" "$(peak_mb "${a[@]}")" \
    "$(peak_mb "${b[@]}")" "$goal"
}

row_notebooks() {
  capture_note 10000 "$QUILLPOST" "/IniFile=$WORK/q.ini" /N "Notebook 10000" /I Bench /SN
  local requests=("GET folders")
  for page in $(seq 2 100); do requests+=("GET folders?page=$page"); done
  requests+=("POST notes $WORK/note.json")
  curl_config "$WORK/notebooks.curl" "${requests[@]}"
  compare notebooks 15 "<= 1.5" -- "$QUILLPOST" "/IniFile=$WORK/q.ini" /N "Notebook 10000" \
    /I Bench /SN -- curl -K "$WORK/notebooks.curl"
}

# 200 images of 1 KiB among 1.8 MB of text, once as HTML and once as Markdown.
row_html() {
  mkdir -p "$WORK/page/img"
  head -c 1024 /dev/urandom >"$WORK/image"
  local paragraph
  paragraph="<p>$(printf 'Some text of the page, with <b>markup</b> and words. %.0s' $(seq 1 160))</p>"
  : >"$WORK/page/page.html"
  : >"$WORK/page/page.md"
  for i in $(seq 1 200); do
    cp "$WORK/image" "$WORK/page/img/image$i.png"
    printf '%s\n<img src="img/image%d.png" alt="image %d">\n' "$paragraph" "$i" "$i" \
      >>"$WORK/page/page.html"
    printf '%s\n![image %d](img/image%d.png)\n' "$paragraph" "$i" "$i" >>"$WORK/page/page.md"
  done
  start_server 5
  compare html 10 "<= 1.5" -- "$QUILLPOST" "/IniFile=$WORK/q.ini" /I Page /S "$WORK/page/page.html" \
    -- "$QUILLPOST" "/IniFile=$WORK/q.ini" /I Page /S "$WORK/page/page.md"
}

# 200 MB of Markdown lines with a little of everything the JSON writer escapes.
row_body() {
  printf -- '- item with **bold** text, a path /usr/local/bin and caf\xc3\xa9 "quotes"\n' >"$WORK/body.md"
  while [ "$(stat -c %s "$WORK/body.md")" -lt $((200 * 1024 * 1024)) ]; do
    cat "$WORK/body.md" "$WORK/body.md" >"$WORK/body2.md" && mv "$WORK/body2.md" "$WORK/body.md"
  done
  truncate -s $((200 * 1024 * 1024)) "$WORK/body.md"
  capture_note 5 "$QUILLPOST" "/IniFile=$WORK/q.ini" /I "Large body" /S "$WORK/body.md"
  curl_config "$WORK/body.curl" "POST notes $WORK/note.json"
  compare body 5 "<= 1.5, peak <= 260 MB" -- "$QUILLPOST" "/IniFile=$WORK/q.ini" /I "Large body" \
    /S "$WORK/body.md" -- curl -K "$WORK/body.curl"
  rm -f "$WORK/body.md" "$WORK/note.json"
}

row_small() {
  echo "A small note." >"$WORK/small.md"
  head -c 4096 /dev/urandom >"$WORK/scan.quux"
  local run=("$QUILLPOST" "/IniFile=$WORK/q.ini" /N Inbox /A "$WORK/scan.quux" /I Small
    /S "$WORK/small.md")
  capture_note 5 "${run[@]}"
  curl_config "$WORK/small.curl" "GET folders" "FORM resources $WORK/scan.quux" \
    "POST notes $WORK/note.json"
  compare small 40 "<= 1.1" -- "${run[@]}" -- curl -K "$WORK/small.curl"
}

row_attachment() {
  truncate -s 1G "$WORK/big.bin"
  local run=("$QUILLPOST" "/IniFile=$WORK/q.ini" /A "$WORK/big.bin" /I Big /SN)
  capture_note 5 "${run[@]}"
  curl_config "$WORK/big.curl" "FORM resources $WORK/big.bin" "POST notes $WORK/note.json"
  compare attachment 3 "<= 1.2, peak <= 16 MB" -- "${run[@]}" -- curl -K "$WORK/big.curl"
  rm -f "$WORK/big.bin"
}

row_attachments() {
  mkdir -p "$WORK/many"
  local run=("$QUILLPOST" "/IniFile=$WORK/q.ini" /I Many /SN) requests=()
  for i in $(seq 1 1000); do
    head -c 2048 /dev/urandom >"$WORK/many/file$i.bin"
    run+=(/A "$WORK/many/file$i.bin")
    requests+=("FORM resources $WORK/many/file$i.bin")
  done
  capture_note 5 "${run[@]}"
  requests+=("POST notes $WORK/note.json")
  curl_config "$WORK/many.curl" "${requests[@]}"
  compare attachments 5 "<= 1.2" -- "${run[@]}" -- curl -K "$WORK/many.curl"
}

# A 1 KB entry added to a 10 MB note. The yardstick reads the note and writes
# it back with the entry (its JSON made beforehand, as a script would have it
# ready); Quillpost also checks updated_time before the write and reads the
# note back after it.
row_append() {
  local id=0123456789abcdef0123456789abcdef
  head -c 1000 /dev/zero | tr '\0' 'x' | fold -w 100 >"$WORK/entry.md"
  NOTE_MIB=10 start_server 5
  curl -s "$BASE/notes/$id?fields=body&token=bench" |
    node -e 'let s=[];process.stdin.on("data",d=>s.push(d)).on("end",()=>{
      const b=JSON.parse(Buffer.concat(s)).body;
      const e=require("fs").readFileSync(process.argv[1],"utf8");
      process.stdout.write(JSON.stringify({body:b+"\r\n\r\n"+e}));})' "$WORK/entry.md" \
      >"$WORK/put.json"
  cat >"$WORK/append.curl" <<EOF
silent
fail
output = /dev/null
url = "$BASE/notes/$id?token=bench"
next
silent
fail
output = /dev/null
request = PUT
header = "Content-Type: application/json"
data-binary = "@$WORK/put.json"
url = "$BASE/notes/$id?token=bench"
EOF
  compare append 10 "<= 1.5, peak <= 25 MB" -- "$QUILLPOST" "/IniFile=$WORK/q.ini" /Append \
    /Id "$id" /S "$WORK/entry.md" -- curl -K "$WORK/append.curl"
}

rows=("$@")
[ ${#rows[@]} -gt 0 ] || rows=(notebooks html body small attachment attachments append)
printf "%-12s %10s %10s %7s %9s %9s  %s\n" row "quillpost" "yardstick" ratio "peak(MB)" \
  "peak(MB)" goal
printf "%-12s %10s %10s %7s %9s %9s\n" "" "(ms)" "(ms)" "" "quillpost" "yardstick"
for row in "${rows[@]}"; do
  "row_$row"
done
