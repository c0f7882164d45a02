#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/apt.sh against a stand-in apt-get (and sudo) whose refresh fails
# the first $FAILURES times, as a mirror mid-sync makes it, or otherwise.
set -euo pipefail
apt_script="$(cd "$(dirname "$0")" && pwd)/apt.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" && printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
cat >"$work/bin/apt-get" <<'STANDIN'
#!/usr/bin/env bash
[ "${*: -1}" = -qq ] || exit "$INSTALL_STATUS"
echo >>"$TMPDIR/refreshes"
[ "$(wc -l <"$TMPDIR/refreshes")" -gt "$FAILURES" ] && exit 0
[ "$ERROR" = other ] && echo "E: Malformed entry 1 in list file /etc/apt/sources.list (Component)" >&2 && exit 100
echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 151.101.2.132 80]" >&2
exit 100
STANDIN
chmod +x "$work/bin/"*
failed=0
# error failures install-status | refreshes, status, warnings | what it says
for row in "mirror 2 0|3 0 0|trying again" "mirror 9 0|4 0 1|lists already there" \
    "mirror 9 100|4 100 1|with package lists that could not be refreshed" "other 9 0|1 100 0|Malformed"; do
    IFS='|' read -r given expected said <<<"$row"
    read -r ERROR FAILURES INSTALL_STATUS <<<"$given"
    rm -rf "$work/tmp" && mkdir "$work/tmp" && status=0
    PATH="$work/bin:$PATH" TMPDIR="$work/tmp" ERROR=$ERROR FAILURES=$FAILURES INSTALL_STATUS=$INSTALL_STATUS \
        VELTARO_APT_RETRY_PAUSE=0 sh -c '"$0" update -qq && "$0" install -y hello' "$apt_script" 2>"$work/said" || status=$?
    seen="$(wc -l <"$work/tmp/refreshes") $status $(grep -c '^apt: warning:' "$work/said" || true)"
    [ "$seen" = "$expected" ] && grep -q "$said" "$work/said" && continue
    { echo "FAIL [$given]: saw '$seen', wanted '$expected'; it said:"; cat "$work/said"; } >&2 && failed=$((failed + 1))
done
exit "$failed"
