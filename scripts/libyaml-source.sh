#!/usr/bin/env bash
# Unpacks the sources of Debian 12's libyaml (source package libyaml
# 0.2.5-1: its upstream tarball, which Debian patches not) into DIR, for the
# Windows build to compile with the cross compiler. The tarball comes from
# Debian's archive and is checked against the SHA-256 that the package's .dsc
# gives. Quick when DIR holds them already.
#   scripts/libyaml-source.sh DIR
set -euo pipefail
DIR=$1
VERSION=0.2.5
SHA256=fa240dbf262be053f3898006d502d514936c818e422afdcf33921c63bed9bf2e
URL=http://deb.debian.org/debian/pool/main/liby/libyaml/libyaml_$VERSION.orig.tar.gz
[ -f "$DIR/src/parser.c" ] && exit 0
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
curl -fsSL --retry 3 -o "$TMP/libyaml.tar.gz" "$URL"
echo "$SHA256  $TMP/libyaml.tar.gz" | sha256sum -c --quiet -
mkdir -p "$TMP/out"
tar -xzf "$TMP/libyaml.tar.gz" -C "$TMP/out"
mkdir -p "$(dirname "$DIR")"
rm -rf "$DIR"
mv "$TMP/out/libyaml-$VERSION" "$DIR"
