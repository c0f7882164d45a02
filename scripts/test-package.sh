#!/usr/bin/env bash
# Builds the Debian package, installs it with apt on this machine and checks
# what landed where: the program, the helper, the menu entry, the icon, the
# software-catalogue metadata and the polkit policy. A package that was not
# installed before is removed again afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh desktop-file-utils appstream

installed_before=false
dpkg-query -W -f='${Status}' veltaro 2>/dev/null | grep -q "install ok installed" && installed_before=true
cleanup()
{
    $installed_before && return
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=300 remove -y -qq veltaro >/dev/null
}
trap cleanup EXIT
scripts/install-package.sh
debs=(build/package/veltaro_*.deb)
echo "It depends on: $(dpkg-deb --field "${debs[0]}" Depends)"

failed=0
check() {
    if "$@"; then echo "ok: $*"; else echo "FAILED: $*"; failed=1; fi
}

helper=/usr/libexec/veltaro/veltaro-northbridge-open
policy=/usr/share/polkit-1/actions/org.example.veltaro.northbridge-open.policy
desktop=/usr/share/applications/org.example.veltaro.desktop
metainfo=/usr/share/metainfo/org.example.veltaro.metainfo.xml
check test -x /usr/bin/veltaro
check test -x /usr/bin/veltaro-demo
check test -x "$helper"
# The helper is started through pkexec, never set-uid itself.
check test ! -u "$helper"
check test "$(stat -c %U:%a "$helper")" = root:755
check test -f /usr/share/icons/hicolor/32x32/apps/veltaro.png
check desktop-file-validate "$desktop"
check appstreamcli validate --no-net "$metainfo"
check grep -q "<release version=\"$(dpkg-query -W -f='${Version}' veltaro)\"" "$metainfo"
check grep -q "<annotate key=\"org.freedesktop.policykit.exec.path\">$helper</annotate>" "$policy"
check grep -q "<allow_active>auth_admin_keep</allow_active>" "$policy"
check test -x /usr/bin/pkexec
exit $failed
