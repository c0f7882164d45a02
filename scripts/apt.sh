#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# apt-get as root and without questions: through sudo for a normal user,
# with DEBIAN_FRONTEND handed to apt inside sudo (sudo starts its command
# with a cleaned environment, so a variable set before it never arrives).
# While another apt or dpkg holds its lock, it waits rather than fails.
#
#   scripts/apt.sh <apt-get arguments...>
set -euo pipefail

as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
run()
{
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 "$@"
}

# The package lists' lock has no timeout of its own: try again for a while.
if [ "${1:-}" = update ]; then
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    for _ in $(seq 30); do
        run "$@" 2>"$log" && status=0 || status=$?
        cat "$log" >&2
        [ "$status" -eq 0 ] && exit 0
        grep -q 'Could not get lock' "$log" || exit "$status"
        echo "apt: another apt holds the lock; trying again in 10 s" >&2
        sleep 10
    done
    exit 1
fi
run "$@"
