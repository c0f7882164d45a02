#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Tries the README's commands as a new user would on a fresh, minimal
# Debian: makes a minimal root (debootstrap --variant=minbase from the
# Debian archive this machine's apt uses, plus git, ca-certificates and
# sudo), adds a normal user who may use sudo, clones the committed
# project into the user's home and runs there, as that user, the README's
# install step, build, ctest and package build. A missing install step
# that this machine happens to have installed fails it. Its argument names
# the release, trixie (13) or bookworm (12); that release's lintian checks
# the package, built without the suite (nocheck): ctest has just run it.
# On trixie the user also runs the Wayland stage (test-wayland.sh) on that
# build, for that release's Qt and sway; this machine's run covers 12's.
#
# It needs root (through sudo otherwise) and about 4 GB in /var/tmp. The
# root lives in a folder of its own there, and its mounts in a mount
# namespace of their own, which the kernel takes down when the test ends
# however it ends; the folder is removed on the way out, also on failure.
# CMAKE_BUILD_PARALLEL_LEVEL, when set, reaches the builds inside.
set -euo pipefail
cd "$(dirname "$0")/.."

# The README's commands, word for word. The script checks that the README
# still gives each of them, so that the two cannot drift apart.
readme_steps=(
    "scripts/install-deps.sh"
    "cmake --preset dev && cmake --build --preset dev && ctest --preset dev"
    "scripts/build-package.sh"
)

[[ "${1:-}" =~ ^(trixie|bookworm|--inside)$ ]] || { echo "usage: $0 trixie|bookworm" >&2; exit 2; }

if [ "${1:-}" = --inside ]; then
    # Second half, in the private mount namespace: mount what a running
    # system has, then run the steps as the user inside the root.
    root=$2
    mount --rbind /dev "$root/dev"
    mount --make-rslave "$root/dev"
    mount -t proc proc "$root/proc"
    mount -t sysfs -o ro sysfs "$root/sys"
    mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
    home=$(chroot "$root" getent passwd tester | cut -d: -f6)
    as_tester=(chroot --userspec=tester:tester "$root" /usr/bin/env -i
        HOME="$home" USER=tester LOGNAME=tester SHELL=/bin/bash LANG=C.UTF-8
        PATH=/usr/local/bin:/usr/bin:/bin DEB_BUILD_OPTIONS=nocheck
        ${CMAKE_BUILD_PARALLEL_LEVEL:+CMAKE_BUILD_PARALLEL_LEVEL=$CMAKE_BUILD_PARALLEL_LEVEL})
    # The user clones the committed project, as from its public repository.
    "${as_tester[@]}" /bin/bash -euo pipefail -c \
        'cd && git -c advice.detachedHead=false clone --quiet veltaro.bundle veltaro'
    steps=""
    for step in "${readme_steps[@]}"; do
        steps+="echo \"== \$ $step\"; $step"$'\n'
    done
    [ "$3" = trixie ] && steps+='echo "== scripts/test-wayland.sh"
        scripts/test-wayland.sh build/dev build/dev/wayland.png build/dev/wayland-tooltip.png'$'\n'
    # The release's own lintian, failing above info as on the build machine.
    steps+='echo "== lintian"; scripts/install-deps.sh lintian
        lintian --fail-on error,warning --display-info --show-overrides build/debian/veltaro_*.changes'$'\n'
    exec "${as_tester[@]}" /bin/bash -euo pipefail -c "cd ~/veltaro; $steps"
fi

if [ "$(id -u)" -ne 0 ]; then
    exec sudo ${CMAKE_BUILD_PARALLEL_LEVEL:+CMAKE_BUILD_PARALLEL_LEVEL=$CMAKE_BUILD_PARALLEL_LEVEL} "$0" "$@"
fi

for step in "${readme_steps[@]}"; do
    grep -qF -- "$step" README.md || { echo "The README no longer says: $step" >&2; exit 1; }
done
scripts/install-deps.sh debootstrap

# The Debian archive, updates and security archive that apt here uses for
# the release, else for this machine's own (whose mirrors serve them all),
# as apt itself reports them, whatever form its sources take.
codename=$1
own=$(. /etc/os-release && echo "$VERSION_CODENAME")
archive()
{
    apt-cache policy | awk -v want="$codename$1/main" -v own="$own$1/main" '$2 ~ /^[a-z]+:\/\// {
        if ($3 == want && !w) w = $2; if ($3 == own && !o) o = $2 } END { print w ? w : o }'
}
mirror=$(archive "")
[ -n "$mirror" ] || { echo "apt here uses no Debian archive for $codename or $own main" >&2; exit 1; }

root=$(mktemp -d /var/tmp/veltaro-fresh-machine.XXXXXX)
# It becomes the root folder of a system whose users must enter it.
chmod 755 "$root"
cleanup()
{
    local status=$?
    # Anything still running inside the root (a helper daemon apt or gpg
    # started) would keep its folder busy.
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] && kill -9 "${proc#/proc/}" 2>/dev/null
    done
    # The namespace took its mounts with it; were any left, removing the
    # folder must not reach through them.
    if grep -qF " $root/" /proc/self/mounts; then
        echo "Mounts are left below $root; not removing it" >&2
        exit 1
    fi
    rm -rf --one-file-system "$root"
    exit "$status"
}
trap cleanup EXIT

echo "== debootstrap $codename from $mirror into $root"
debootstrap --variant=minbase --include=git,ca-certificates,sudo "$codename" "$root" "$mirror" >"$root.log" 2>&1 || {
    tail -n 30 "$root.log"
    rm -f "$root.log"
    exit 1
}
rm -f "$root.log"
{
    echo "deb $mirror $codename main"
    updates=$(archive -updates)
    [ -n "$updates" ] && echo "deb $updates $codename-updates main"
    security=$(archive -security)
    [ -n "$security" ] && echo "deb $security $codename-security main"
} >"$root/etc/apt/sources.list"
cp /etc/resolv.conf "$root/etc/resolv.conf"

# A normal user with sudo rights, as on a desktop; no password to type here.
chroot "$root" useradd --create-home --shell /bin/bash tester
echo "tester ALL=(ALL:ALL) NOPASSWD: ALL" >"$root/etc/sudoers.d/tester"
chmod 440 "$root/etc/sudoers.d/tester"

# What the user will clone: the committed project, in the user's home.
home=$(chroot "$root" getent passwd tester | cut -d: -f6)
git bundle create "$root$home/veltaro.bundle" HEAD 2>/dev/null
chmod 644 "$root$home/veltaro.bundle"

unshare --mount --propagation private -- "$0" --inside "$root" "$codename"
echo "The README's install step, build, tests, package build and lintian pass on a fresh Debian $codename."
