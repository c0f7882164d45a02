#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/apt.sh against a stand-in apt-get (and sudo) on PATH whose
# refresh fails as a mirror mid-sync makes it fail, a given number of
# times or always, or fails for a reason of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
apt_script="$PWD/scripts/apt.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
cat >"$work/bin/apt-get" <<'STANDIN'
#!/usr/bin/env bash
# Skips apt's options; counts each refresh in $STANDIN_DIR/updates.
while [ "${1:-}" = -o ]; do shift 2; done
if [ "$1" = update ]; then
    echo x >>"$STANDIN_DIR/updates"
    if [ "$(wc -l <"$STANDIN_DIR/updates")" -le "$UPDATE_FAILURES" ]; then
        case "$UPDATE_ERROR" in
        mirror)
            echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (167856 != 167844). Mirror sync in progress? [IP: 151.101.2.132 80]" >&2
            echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2 ;;
        hash) echo "E: Failed to fetch store:/var/lib/apt/lists/partial/x_Packages.xz  Hash Sum mismatch" >&2 ;;
        *) echo "E: Malformed entry 1 in list file /etc/apt/sources.list (Component)" >&2 ;;
        esac
        exit 100
    fi
    exit 0
fi
exit "$INSTALL_STATUS"
STANDIN
printf '#!/bin/sh\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin/apt-get" "$work/bin/sudo"

failures=0
# error, refresh failures, install status | refreshes made, install status seen, what stderr must hold (a pattern) and how many warnings
rows=(
    "mirror 2 0|3 0|trying again|0"
    "hash 1 0|2 0|trying again|0"
    "mirror 99 0|4 0|could not be refreshed|1"
    "mirror 99 100|4 100|failed \(status 100\) with package lists that could not be refreshed|1"
    "other 99 0|1 100|Malformed entry|0"
)
for row in "${rows[@]}"; do
    IFS='|' read -r given expected pattern warnings <<<"$row"
    read -r error update_failures install_status <<<"$given"
    rm -rf "$work/state" && mkdir "$work/state"
    status=0
    {
        PATH="$work/bin:$PATH" STANDIN_DIR="$work/state" UPDATE_ERROR=$error UPDATE_FAILURES=$update_failures \
            INSTALL_STATUS=$install_status VELTARO_APT_RETRY_PAUSE=0 TMPDIR="$work/state" "$apt_script" update -qq &&
            PATH="$work/bin:$PATH" INSTALL_STATUS=$install_status TMPDIR="$work/state" \
                "$apt_script" install -y -qq hello
    } 2>"$work/stderr" || status=$?
    seen="$(wc -l <"$work/state/updates") $status"
    seen_warnings=$(grep -c '^apt: warning:' "$work/stderr" || true)
    if [ "$seen" != "$expected" ] || [ "$seen_warnings" != "$warnings" ] || ! grep -Eq "$pattern" "$work/stderr"; then
        echo "FAIL [$given]: refreshes and status '$seen' (wanted '$expected'), $seen_warnings warnings (wanted $warnings)" >&2
        sed 's/^/    /' "$work/stderr" >&2
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && echo "apt wrapper: ${#rows[@]} cases pass"
exit "$failures"
