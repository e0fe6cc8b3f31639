#!/bin/bash
# Runs a command in a network namespace of its own: port 7654 is then ours alone,
# and the tests have other local addresses, 10.77.0.1 and .2 (on a veth pair that never
# leaves the namespace), to connect from as a phone on another computer would, and
# 198.51.100.7 as a peer outside the local network.
#   netns.sh COMMAND [ARGS...]
set -euo pipefail
exec unshare -n bash -c '
  set -e
  ip link set lo up
  ip link add qv0 type veth peer name qv1
  ip addr add 10.77.0.1/24 dev qv0
  ip addr add 10.77.0.2/24 dev qv0
  ip addr add 198.51.100.7/32 dev qv0
  ip link set qv0 up
  ip link set qv1 up
  exec "$@"' netns "$@"
