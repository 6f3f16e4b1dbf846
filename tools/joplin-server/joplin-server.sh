#!/usr/bin/env bash
# The Joplin Data API server, headless: the terminal edition of Joplin (npm
# package "joplin") serves the same Data API as the desktop application.
#
#   joplin-server.sh install
#       Installs it once into this folder (quick when already there).
#   joplin-server.sh build-sqlite DIR
#       Builds the sqlite3 module in DIR from source with the installed Node's
#       own headers, as install does (the tests use it under an empty home).
#   joplin-server.sh start [--state DIR] [--port N | --ports FIRST-LAST] [--token T]
#                          [--settings FILE]
#       Starts it on a free loopback port (the first free one of FIRST-LAST with
#       --ports) with a fresh profile, waits until /ping answers, and prints
#       three lines: the URL, the token and the state folder. With --state on
#       a folder that already holds a profile, that profile is used again with
#       its own port and token, notes and all. With --settings it also writes a
#       Quillpost settings file (mode 600).
#   joplin-server.sh status DIR
#       Prints the URL of the server of that state folder and exits 0 when it
#       answers; exits 3 when it does not.
#   joplin-server.sh stop DIR
#       Stops the server started with that state folder. A temporary state
#       folder (one that start made itself) goes with its profile; the profile
#       in a folder given with --state is kept.
#
# Every message but the three result lines goes to standard error.
set -euo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
JOPLIN_VERSION=3.5.1
JOPLIN="$HERE/node_modules/.bin/joplin"
SQLITE_BINDING_GLOB="$HERE/node_modules/sqlite3/lib/binding/*/node_sqlite3.node"

log() { echo "[joplin-server] $*" >&2; }

# shellcheck source=../../scripts/apt-packages.sh
source "$HERE/../../scripts/apt-packages.sh"

install_build_tools() {
  local packages=(python3 make g++)
  # Node.js and npm come with the machine here; Debian's packages stand in elsewhere.
  command -v node >/dev/null 2>&1 || packages+=(nodejs)
  command -v npm >/dev/null 2>&1 || packages+=(npm)
  install_missing_packages "${packages[@]}"
}

have_binding() {
  compgen -G "$SQLITE_BINDING_GLOB" >/dev/null
}

install() {
  if [ -x "$JOPLIN" ] && have_binding; then return; fi
  install_build_tools
  local build_log="$HERE/install.log"
  log "installing joplin@$JOPLIN_VERSION (once, a few minutes; details in $build_log)"
  (cd "$HERE" && npm install --no-audit --no-fund --ignore-scripts --no-save \
    "joplin@$JOPLIN_VERSION") >"$build_log" 2>&1 || {
    tail -20 "$build_log" >&2
    log "npm could not install joplin@$JOPLIN_VERSION (log: $build_log): check that the npm registry can be reached, then run again"
    exit 3
  }
  # The server's one native module, built from source: prebuilt downloads are not possible.
  log "building sqlite3 from source"
  build_sqlite "$HERE/node_modules/sqlite3" >>"$build_log" 2>&1 || {
    tail -50 "$build_log" >&2
    exit 1
  }
  have_binding || { log "sqlite3 did not build"; exit 1; }
}

# The folder whose include/node holds the running Node's own headers, so that
# node-gyp never downloads them: under a home folder whose npm settings do not
# name them, it would try. Debian's Node keeps them in libnode-dev.
node_headers_dir() {
  local prefix
  prefix=$(node -p 'require("path").resolve(process.execPath, "..", "..")')
  if [ ! -f "$prefix/include/node/node_api.h" ]; then
    install_missing_packages libnode-dev
    prefix=/usr
  fi
  echo "$prefix"
}

# Builds the sqlite3 module in DIR from source, with the installed Node's headers.
build_sqlite() {
  local dir=$1 nodedir
  nodedir=$(node_headers_dir)
  (cd "$dir" && npm_config_nodedir="$nodedir" \
    node "$HERE/node_modules/@mapbox/node-pre-gyp/bin/node-pre-gyp" install \
    --build-from-source --nodedir="$nodedir")
}

free_port() {
  node -e 'const s=require("net").createServer();s.listen(0,"127.0.0.1",()=>{console.log(s.address().port);s.close();});'
}

# True once GET /ping answers "JoplinClipperServer".
pings() {
  local port=$1 answer
  answer=$( (exec 3<>"/dev/tcp/127.0.0.1/$port" &&
    printf 'GET /ping HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3 && cat <&3) 2>/dev/null) || return 1
  [[ "$answer" == *JoplinClipperServer* ]]
}

# The first port of FIRST-LAST that nothing listens on.
free_port_in() {
  local first=${1%-*} last=${1#*-} port
  for ((port = first; port <= last; port++)); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return; }
  done
  return 1
}

# A value of the profile's settings.json ("api.port", "api.token").
profile_setting() {
  node -e 'const s=require(process.argv[1]);const v=s[process.argv[2]];if(v!==undefined)console.log(v);' \
    "$1/settings.json" "$2" 2>/dev/null
}

# Writes the settings file whole or not at all, readable by its owner alone.
write_settings() {
  local file=$1 port=$2 token=$3 temporary
  mkdir -p "$(dirname "$file")"
  temporary=$(mktemp "$file.XXXXXX")
  chmod 600 "$temporary"
  printf '[Host]\nURL=http://127.0.0.1:%s\nToken=%s\n' "$port" "$token" >"$temporary"
  mv -f "$temporary" "$file"
}

# Puts the Data API's port and token into the profile's settings.json, which
# only its owner may read. The token comes on standard input: on a command
# line, `ps` would show it to every user.
write_profile_api() {
  local profile=$1 port=$2 token=$3
  (umask 077 && node -e '
    const fs = require("fs");
    const file = process.argv[1] + "/settings.json";
    let settings = {};
    try { settings = JSON.parse(fs.readFileSync(file, "utf8")); } catch (e) {}
    settings["api.token"] = fs.readFileSync(0, "utf8").trim();
    settings["api.port"] = Number(process.argv[2]);
    fs.writeFileSync(file + ".new", JSON.stringify(settings, null, "\t") + "\n", { mode: 0o600 });
    fs.renameSync(file + ".new", file);' "$profile" "$port" <<<"$token")
}

# Whether the process is the server of this state folder: a pid file can
# outlive its process, and the number be given to another.
is_server_of() {
  local pid=$1 state=$2 command
  command=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) || return 1
  [[ "$command" == *"--profile $state/profile server start"* ]]
}

start() {
  local state="" port="" ports="" token="" settings=""
  while [ $# -gt 0 ]; do
    case "$1" in
      --state) state=$2; shift 2 ;;
      --port) port=$2; shift 2 ;;
      --ports) ports=$2; shift 2 ;;
      --token) token=$2; shift 2 ;;
      --settings) settings=$2; shift 2 ;;
      *) log "unknown option $1"; exit 2 ;;
    esac
  done
  install
  [ -n "$state" ] || state=$(mktemp -d /tmp/joplin-server-XXXXXX)
  # The profile holds the notes and the token: its owner's alone.
  if ! (umask 077 && mkdir -p "$state/profile") 2>/dev/null || ! chmod 700 "$state/profile" ||
    [ ! -w "$state/profile" ]; then
    log "cannot write the profile folder $state/profile: make it writable, or name another with --state"
    exit 3
  fi
  local joplin=("$JOPLIN" --profile "$state/profile") fresh=1
  if [ -f "$state/profile/settings.json" ] && [ -f "$state/profile/database.sqlite" ]; then
    fresh=0
    [ -n "$port" ] || port=$(profile_setting "$state/profile" api.port)
    [ -n "$token" ] || token=$(profile_setting "$state/profile" api.token)
  fi
  if [ -n "$ports" ] && { [ -z "$port" ] || (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; }; then
    port=$(free_port_in "$ports") || {
      log "every port from $ports is taken: stop what listens there, or start with --port N"
      exit 3
    }
  fi
  [ -n "$port" ] || port=$(free_port)
  [ -n "$token" ] || token=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
  [ "$fresh" = 1 ] && "${joplin[@]}" mkbook Inbox >&2
  write_profile_api "$state/profile" "$port" "$token"
  setsid "${joplin[@]}" server start >"$state/server.log" 2>&1 </dev/null &
  echo $! >"$state/pid"
  for _ in $(seq 1 120); do
    if pings "$port"; then
      [ -n "$settings" ] && write_settings "$settings" "$port" "$token"
      echo "http://127.0.0.1:$port"
      echo "$token"
      echo "$state"
      return
    fi
    if ! is_server_of "$(cat "$state/pid")" "$state"; then break; fi
    sleep 0.5
  done
  log "the server did not answer; its log:"
  cat "$state/server.log" >&2 || true
  stop "$state"
  exit 1
}

status() {
  local state=${1:?state folder} port
  port=$(profile_setting "$state/profile" api.port)
  if [ -n "$port" ] && [ -f "$state/pid" ] && is_server_of "$(cat "$state/pid")" "$state" &&
    pings "$port"; then
    echo "http://127.0.0.1:$port"
    return 0
  fi
  return 3
}

stop() {
  local state=${1:?state folder}
  if [ -f "$state/pid" ]; then
    local pid
    pid=$(cat "$state/pid")
    if is_server_of "$pid" "$state"; then
      # setsid made the server the leader of its own process group.
      kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid" 2>/dev/null || true
      for _ in $(seq 1 20); do is_server_of "$pid" "$state" || break; sleep 0.25; done
      is_server_of "$pid" "$state" && kill -KILL -- "-$pid" 2>/dev/null
    fi
    rm -f "$state/pid"
  fi
  case "$state" in
    /tmp/joplin-server-*) rm -rf "$state" ;;
  esac
}

case "${1:-}" in
  install) install ;;
  build-sqlite) shift; build_sqlite "${1:?module folder}" ;;
  start) shift; start "$@" ;;
  status) shift; status "$@" ;;
  stop) shift; stop "$@" ;;
  *) sed -n '2,26p' "$0" >&2; exit 2 ;;
esac
