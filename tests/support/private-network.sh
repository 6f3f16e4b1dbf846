#!/bin/sh
# Runs a command in a network namespace of its own, with only the loopback
# interface up: the tests that scan the Data API's ports (41184 to 41194) see
# their own listeners there and none of the machine's (a Joplin desktop
# application, another user's server). Where no namespace can be made, the
# command runs as it is, told why, and those tests skip.
if command -v unshare >/dev/null && command -v ip >/dev/null &&
  unshare -n sh -c 'ip link set lo up' 2>/dev/null; then
  exec unshare -n sh -c 'ip link set lo up && QUILLPOST_PRIVATE_NETWORK=1 exec "$@"' sh "$@"
fi
QUILLPOST_PRIVATE_NETWORK="no network namespace can be made here (unshare -n and ip need root)" \
  exec "$@"
