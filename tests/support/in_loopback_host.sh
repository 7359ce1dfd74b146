#!/bin/sh
# Runs a test program on a host of its own: a fresh network namespace with loopback only, whose
# /etc/hosts maps the host name to 127.0.1.1 as a Debian desktop does. Its sockets then reach
# nothing beyond it, and tests running side by side do not hear each other. Without root the
# program runs as it is, and its tests check for themselves that the host is loopback-only.
set -u
if [ "$(id -u)" -ne 0 ] || ! command -v ip >/dev/null 2>&1; then exec "$@"; fi

ns="tq7t-$$-loopback"
if ! ip netns add "$ns" 2>/dev/null; then exec "$@"; fi
trap 'ip netns del "$ns" 2>/dev/null; rm -rf "/etc/netns/$ns"' EXIT INT TERM
mkdir -p "/etc/netns/$ns"
printf '127.0.0.1 localhost\n127.0.1.1 tq7-test-host\n' >"/etc/netns/$ns/hosts"
: >"/etc/netns/$ns/resolv.conf"
ip -n "$ns" link set lo up
ip netns exec "$ns" unshare --uts sh -c 'hostname tq7-test-host && exec "$@"' sh "$@"
