// SPDX-License-Identifier: MIT
// Says, from the program's own table of processors, how this machine's
// processor can be read: "kernel-or-registers", "kernel-only" or "none".
// The start script asks it before it decides whether a password could
// help, so that the rule lives in one place.
#include <cstdio>

#include "sensorstartorder.h"

int main()
{
    switch (veltaro::readingWaysOf("/proc")) {
    case veltaro::ReadingWays::KernelOrRegisters:
        std::puts("kernel-or-registers");
        break;
    case veltaro::ReadingWays::KernelOnly:
        std::puts("kernel-only");
        break;
    case veltaro::ReadingWays::None:
        std::puts("none");
        break;
    }
    return 0;
}
