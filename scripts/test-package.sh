#!/usr/bin/env bash
# Builds the Debian package, installs it with apt on this machine and checks
# what landed where: the program, the helper, the menu entry, the icon, the
# software-catalogue metadata and the polkit policy. A package that was not
# installed before is removed again afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

# dpkg-dev: dpkg-shlibdeps works out the library dependencies.
scripts/install-deps.sh dpkg-dev desktop-file-utils appstream

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=300 -y -qq "$@"; }

cmake --preset package >/dev/null
cmake --build --preset package
rm -f build/package/veltaro_*.deb
cpack --preset package >/dev/null
debs=(build/package/veltaro_*.deb)
[ ${#debs[@]} -eq 1 ] || { echo "expected one package, found: ${debs[*]}"; exit 1; }
echo "Built ${debs[0]}"
dpkg-deb --field "${debs[0]}" Depends

installed_before=false
dpkg-query -W -f='${Status}' veltaro 2>/dev/null | grep -q "install ok installed" && installed_before=true
apt_get install --reinstall "./${debs[0]}" >/dev/null
cleanup() { $installed_before || apt_get remove veltaro >/dev/null; }
trap cleanup EXIT

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
