#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds Veltaro's Debian package, checks it with lintian,
# installs it with apt on this machine and checks what landed where: the
# hardening of each program, the helper, the menu entry and its icons, the
# software-catalogue metadata, the polkit policy and the manual pages.
# Then it removes the package and checks that nothing of it is left. A
# package installed before is left installed, in its new version, and the
# removal is not tried.
set -euo pipefail
cd "$(dirname "$0")/.."

# devscripts: hardening-check; man-db: man.
scripts/install-deps.sh lintian devscripts man-db desktop-file-utils appstream

installed_before=false
dpkg-query -W -f='${Status}' veltaro 2>/dev/null | grep -q "install ok installed" && installed_before=true
removed=false
# Whatever failed first decides the script's status, not the clean-up.
cleanup()
{
    local status=$?
    if ! $installed_before && ! $removed &&
        dpkg-query -W -f='${Status}' veltaro 2>/dev/null | grep -q "install ok installed"; then
        scripts/apt.sh purge -y -qq veltaro >/dev/null || echo "could not remove veltaro again" >&2
    fi
    exit "$status"
}
trap cleanup EXIT

# The tests have run in the ci build already, and run in the package
# build of scripts/test-fresh-machine.sh: here the package is built
# without them.
scripts/install-package.sh --no-check
version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)

echo "== lintian"
# Anything above info fails; overridden tags are listed with their reason.
lintian --fail-on error,warning --display-info --show-overrides \
    "build/debian/veltaro_${version}_${arch}.changes"
echo "lintian: nothing above info"

failed=0
check()
{
    if "$@"; then echo "ok: $*"; else echo "FAILED: $*"; failed=1; fi
}

echo "== installed files"
echo "It depends on: $(dpkg-query -W -f='${Depends}' veltaro)"
helper=/usr/libexec/veltaro/veltaro-northbridge-open
policy=/usr/share/polkit-1/actions/org.example.veltaro.northbridge-open.policy
desktop=/usr/share/applications/org.example.veltaro.desktop
metainfo=/usr/share/metainfo/org.example.veltaro.metainfo.xml
check test "$(dpkg-query -W -f='${Version}' veltaro)" = "$version"
check test -x /usr/bin/veltaro
check test -x /usr/bin/veltaro-demo
check test -x "$helper"
# The helper is started through pkexec, never set-uid itself.
check test ! -u "$helper"
check test "$(stat -c %U:%a "$helper")" = root:755
# Debian 12's C library start files carry no control-flow protection note,
# so no program linked on Debian 12 has one (/usr/bin/bash neither); the
# other protections are all required.
check hardening-check --nocfprotection /usr/bin/veltaro /usr/bin/veltaro-demo "$helper"
for side in 16 24 32 48 64 128 256; do
    check grep -q "PNG image data, $side x $side," <(file "/usr/share/icons/hicolor/${side}x${side}/apps/veltaro.png")
done
check desktop-file-validate "$desktop"
check appstreamcli validate --no-net "$metainfo"
check grep -q "<release version=\"$version\" date=\"$(date -u -d "$(dpkg-parsechangelog -S Date)" +%F)\">" "$metainfo"
check grep -q "<annotate key=\"org.freedesktop.policykit.exec.path\">$helper</annotate>" "$policy"
check grep -q "<allow_active>auth_admin_keep</allow_active>" "$policy"
check test -x /usr/bin/pkexec
for page in "1 veltaro" "1 veltaro-demo" "8 veltaro-northbridge-open"; do
    read -r section name <<<"$page"
    check grep -Eq "^ *$name +- " <(MANPAGER=cat MANWIDTH=80 man "$section" "$name" 2>&1)
done

if ! $installed_before; then
    echo "== removal"
    files=$(dpkg-query -L veltaro | while read -r path; do if [ -f "$path" ]; then echo "$path"; fi; done)
    scripts/apt.sh remove -y -qq veltaro >/dev/null
    removed=true
    # No configuration files either: dpkg forgets the package altogether.
    state=$(dpkg-query -W -f='${db:Status-Abbrev}' veltaro 2>/dev/null || true)
    check test -z "$state" -o "$state" = "un "
    left=$(for path in $files; do if [ -e "$path" ]; then echo "$path"; fi; done)
    check test -z "$left"
    check test ! -e /usr/libexec/veltaro
fi
exit $failed
