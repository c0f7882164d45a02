#!/usr/bin/env bash
# Installs what is missing, builds Veltaro and starts it. On a machine
# without the processor's northbridge function it starts the demo instead.
set -euo pipefail
cd "$(dirname "$0")/.."

# xdg-utils: the desktop's URL opener behind the author's mail link.
scripts/install-deps.sh xdg-utils
cmake --preset dev >/dev/null
cmake --build --preset dev

if [ -e /sys/bus/pci/devices/0000:00:18.3 ]; then
    exec build/dev/app/veltaro
fi
echo "No AMD northbridge function (PCI 0000:00:18.3) on this machine: starting veltaro-demo, the same program on a simulated processor."
exec build/dev/app/veltaro-demo
