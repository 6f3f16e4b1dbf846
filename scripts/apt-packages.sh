# Sourced by the set-up scripts: installs missing Debian packages with apt-get.
# Messages go to standard error.

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs those of the named packages that are not installed yet.
install_missing_packages() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return
  echo "[setup] installing ${missing[*]}" >&2
  local sink=/dev/stderr
  # APT_QUIET: the details go to a log, shown only when the install fails.
  [ -n "${APT_QUIET:-}" ] && sink=$(mktemp /tmp/quillpost-apt-XXXXXX.log)
  if ! { as_root apt-get update -qq &&
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}"; } >"$sink" 2>&1; then
    [ "$sink" != /dev/stderr ] && cat "$sink" >&2
    echo "[setup] apt-get could not install ${missing[*]}" >&2
    exit 1
  fi
  [ "$sink" != /dev/stderr ] && rm -f "$sink"
  return 0
}

# The compiler cache: paths below the checkout count as relative, so that a
# fresh clone in another folder (CI's) reuses what an earlier build compiled.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export CCACHE_NOHASHDIR=true CCACHE_MAXSIZE="${CCACHE_MAXSIZE:-5G}"
