#!/usr/bin/env bash
# The whole job once, on a fresh machine: sets up and builds Quillpost, starts
# the headless Joplin server in a temporary profile, creates a note with a
# body, a tag and an attachment through Quillpost, reads the note back from the
# server and prints it, and stops the server.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
SERVER="$ROOT/tools/joplin-server/joplin-server.sh"

"$ROOT/scripts/setup.sh" release
WORK=$(mktemp -d)
STATE=""
cleanup() {
  [ -n "$STATE" ] && "$SERVER" stop "$STATE"
  rm -rf "$WORK"
}
trap cleanup EXIT

mapfile -t started < <("$SERVER" start --settings "$WORK/quillpost.ini")
URL=${started[0]}
TOKEN=${started[1]}
STATE=${started[2]}
echo "Joplin Data API running at $URL"

printf '# Hello from Quillpost\n\nThis note came from the command line.\n' >"$WORK/body.md"
printf 'A small attachment.\n' >"$WORK/attachment.txt"
echo "\$ quillpost /IniFile=$WORK/quillpost.ini /N Inbox /I \"Demo note\" /S body.md /T demo /A attachment.txt"
(cd "$WORK" && "$ROOT/build/release/quillpost" "/IniFile=$WORK/quillpost.ini" /N Inbox \
  /I "Demo note" /S body.md /T demo /A attachment.txt) | tee "$WORK/result.txt"
NOTE_ID=$(sed -n 's/^Done (Note id: \(.*\))$/\1/p' "$WORK/result.txt")
[ -n "$NOTE_ID" ] || { echo "the note was not created" >&2; exit 3; }

echo
echo "Read back from the server:"
URL="$URL" TOKEN="$TOKEN" NOTE_ID="$NOTE_ID" node -e '
const { URL: base, TOKEN: token, NOTE_ID: id } = process.env;
const get = async (path) => (await fetch(`${base}/${path}${path.includes("?") ? "&" : "?"}token=${token}`)).json();
(async () => {
  const note = await get(`notes/${id}?fields=id,title,parent_id,body`);
  const folder = await get(`folders/${note.parent_id}?fields=title`);
  const tags = await get(`notes/${id}/tags`);
  const resources = await get(`notes/${id}/resources?fields=id,title,mime,size`);
  console.log(`title:    ${note.title}`);
  console.log(`notebook: ${folder.title}`);
  console.log(`tags:     ${tags.items.map((t) => t.title).join(", ")}`);
  for (const r of resources.items) console.log(`resource: ${r.title} (${r.mime}, ${r.size} bytes, id ${r.id})`);
  console.log("body:");
  console.log(note.body);
})().catch((e) => { console.error(e); process.exit(1); });
'
