#!/usr/bin/env bash
# Used by run.sh before it runs Quillpost. When nothing tells Quillpost where
# a Joplin Data API is (no /IniFile=, no QUILLPOST_URL or QUILLPOST_TOKEN, no
# settings file, no Joplin profile) and none answers on this machine, starts
# the headless Joplin server of tools/joplin-server in a persistent profile
# ($XDG_DATA_HOME/quillpost/joplin-server) on the first free port of 41184 to
# 41194, writes the user's settings file for it (mode 600), and says so once.
# A server started so is started again on later runs when it is down.
# Messages go to standard error; exit code 3 with the cause when it fails.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUILLPOST="$ROOT/build/release/quillpost"
SERVER="$ROOT/tools/joplin-server/joplin-server.sh"
STATE="${XDG_DATA_HOME:-$HOME/.local/share}/quillpost/joplin-server"
SETTINGS="${XDG_CONFIG_HOME:-$HOME/.config}/quillpost/quillpost.ini"
PORTS=41184-41194

say() { echo "[quillpost] $*" >&2; }

# Runs that need no server, or that name their own settings.
for arg in "$@"; do
  case "${arg,,}" in
    --help | --version | /\? | -\? | /h | -h | /inifile=* | /profile=* | --check) exit 0 ;;
  esac
done

# The server of an earlier run: started again when it is down, on its own
# profile, port and token (another port when its own is taken now).
if [ -f "$STATE/profile/settings.json" ]; then
  "$SERVER" status "$STATE" >/dev/null 2>&1 && exit 0
  mapfile -t started < <("$SERVER" start --state "$STATE" --ports "$PORTS")
  [ "${#started[@]}" -eq 3 ] || { say "the local Joplin server in $STATE did not start"; exit 3; }
  if [ -f "$SETTINGS" ] && grep -qx "Token=${started[1]}" "$SETTINGS"; then
    # Readable by its owner alone from its first byte on.
    (umask 077 && printf '[Host]\nURL=%s\nToken=%s\n' "${started[0]}" "${started[1]}" \
      >"$SETTINGS.new")
    chmod 600 "$SETTINGS.new" && mv -f "$SETTINGS.new" "$SETTINGS"
  fi
  exit 0
fi

# Anything configured, or a Joplin that answers: nothing to start.
check=$("$QUILLPOST" --check 2>/dev/null || true)
grep -q '^Token: none found$' <<<"$check" && grep -q '^URL: .* (from the default' <<<"$check" ||
  exit 0

say "no Joplin application answers on this machine and no settings name one:"
say "starting a local Joplin server for Quillpost (the first time installs it, a few minutes)"
if ! mapfile -t started < <("$SERVER" start --state "$STATE" --ports "$PORTS" --settings "$SETTINGS") ||
  [ "${#started[@]}" -ne 3 ]; then
  say "the local Joplin server could not be started (the lines above say why)"
  exit 3
fi
say "it runs at ${started[0]}; its notes live in $STATE/profile"
say "the settings file $SETTINGS names it; the next runs use it again"
say "stop it with: $SERVER stop $STATE"
