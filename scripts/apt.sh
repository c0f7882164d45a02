#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# apt-get as root and without questions: through sudo for a normal user,
# with DEBIAN_FRONTEND handed to apt inside sudo (sudo starts its command
# with a cleaned environment, so a variable set before it never arrives).
# While another apt or dpkg holds its lock, it waits rather than fails.
#
# A refresh of the package lists that fails for a mirror's reasons (an
# index caught mid-sync, a hash that does not match, a fetch that failed)
# is tried again a few times, VELTARO_APT_RETRY_PAUSE seconds apart (30
# unless set). If it still fails, the lists already there serve the
# install that follows, with one warning; should that install fail, its
# error says the lists were not refreshed.
#
#   scripts/apt.sh <apt-get arguments...>
set -euo pipefail

as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
run()
{
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 "$@"
}

# Left by a refresh that failed, for the install after it to explain
# itself; a refresh that succeeds takes it away.
stale_mark="${TMPDIR:-/tmp}/veltaro-apt-lists-stale.$(id -u)"
mirror_failure='File has unexpected size|Mirror sync in progress|Hash Sum mismatch|Failed to fetch|Some index files failed to download'
mirror_tries=4
pause="${VELTARO_APT_RETRY_PAUSE:-30}"

if [ "${1:-}" = update ]; then
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    lock_tries=0
    failed_tries=0
    while :; do
        run "$@" 2>"$log" && status=0 || status=$?
        cat "$log" >&2
        if [ "$status" -eq 0 ]; then
            rm -f "$stale_mark"
            exit 0
        fi
        # The package lists' lock has no timeout of its own: try again for
        # a while.
        if grep -q 'Could not get lock' "$log"; then
            lock_tries=$((lock_tries + 1))
            [ "$lock_tries" -lt 30 ] || exit 1
            echo "apt: another apt holds the lock; trying again in 10 s" >&2
            sleep 10
            continue
        fi
        grep -Eq "$mirror_failure" "$log" || exit "$status"
        failed_tries=$((failed_tries + 1))
        if [ "$failed_tries" -ge "$mirror_tries" ]; then
            echo "apt: warning: the package lists could not be refreshed (a mirror failed $failed_tries times); going on with the lists already there" >&2
            touch "$stale_mark"
            exit 0
        fi
        echo "apt: a mirror failed the refresh of the package lists; trying again in $pause s" >&2
        sleep "$pause"
    done
fi

run "$@" && exit 0 || status=$?
if [ -e "$stale_mark" ]; then
    echo "apt: 'apt-get $*' failed (status $status) with package lists that could not be refreshed; try again once the mirror has finished its sync" >&2
else
    echo "apt: 'apt-get $*' failed (status $status)" >&2
fi
exit "$status"
