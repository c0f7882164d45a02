#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Veltaro and starts it. On a machine
# without the processor's northbridge function it starts the demo instead;
# a normal user without the kernel's sensor driver gets the installed
# package, whose helper opens the registers. It builds only the program it
# starts, never the tests.
set -euo pipefail
cd "$(dirname "$0")/.."

# xdg-utils: the desktop's URL opener behind the author's mail link.
scripts/install-deps.sh xdg-utils

if [ ! -e /sys/bus/pci/devices/0000:00:18.3 ]; then
    echo "No AMD northbridge function (PCI 0000:00:18.3) on this machine: starting veltaro-demo, the same program on a simulated processor."
    cmake --preset dev >/dev/null
    cmake --build --preset dev --target veltaro-demo
    exec build/dev/app/veltaro-demo
fi
# The kernel's own sensor driver for these processors (k8temp, k10temp)
# publishes the temperature to everyone; the program then reads it with no
# rights and asks for no password.
kernel_reading() {
    local folder
    for folder in /sys/bus/pci/devices/0000:00:18.3/hwmon/hwmon*; do
        case "$(cat "$folder/name" 2>/dev/null)" in
        k8temp | k10temp) cat "$folder/temp1_input" >/dev/null 2>&1 && return 0 ;;
        esac
    done
    return 1
}
if kernel_reading; then
    cmake --preset dev >/dev/null
    cmake --build --preset dev --target veltaro
    exec build/dev/app/veltaro
fi
# Which ways can read this processor, asked of the program's own table:
# family 15h models 60h-7Fh and families 17h and later keep their sensor
# behind the root complex, which only the kernel's driver may reach, so no
# password would help, and so does an AMD processor the table does not
# hold; another maker's processor reads nothing, which the program says
# itself.
cmake --preset dev >/dev/null
cmake --build --preset dev --target veltaro-reading-way
case "$(build/dev/platform/veltaro-reading-way)" in
kernel-only)
    if [ ! -d /sys/module/k10temp ]; then
        echo "This processor's temperature is read through the kernel's k10temp driver, which is not loaded: sudo modprobe k10temp, then start again." >&2
        exit 1
    fi
    # The driver is loaded and reads nothing for this processor (one newer
    # than it, say): the program says what it can read.
    cmake --build --preset dev --target veltaro
    exec build/dev/app/veltaro
    ;;
none)
    cmake --build --preset dev --target veltaro
    exec build/dev/app/veltaro
    ;;
esac
if [ "$(id -u)" -eq 0 ]; then
    # Root opens the registers itself.
    cmake --preset dev >/dev/null
    cmake --build --preset dev --target veltaro
    exec build/dev/app/veltaro
fi

# A normal user gets the installed program: its helper opens the registers
# once polkit has asked for the administrator password, and the program
# itself keeps running with the user's own rights. The package is built
# and installed only when the installed one is older than this source:
# missing, of a lower version, or installed before a file here changed.
package_is_current()
{
    local installed source list
    installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Version}' veltaro 2>/dev/null) || return 1
    [ "${installed%% *}" = ii ] || return 1
    source=$(sed -n '1s/^veltaro (\([^)]*\)).*/\1/p' debian/changelog)
    dpkg --compare-versions "${installed##* }" ge "$source" || return 1
    list=/var/lib/dpkg/info/veltaro.list
    [ -z "$(find . \( -path ./build -o -path ./.git \) -prune -o -type f -newer "$list" -print -quit)" ]
}
if ! package_is_current; then
    scripts/install-package.sh --no-check
fi
exec /usr/bin/veltaro
