// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <fstream>
#include <sstream>
#include <string>

namespace veltaro::testing {

// Whether the process holds any capability in its permitted, effective or
// ambient set, as the kernel reports them.
inline bool holdsCapabilities(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        std::istringstream fields(line);
        std::string name;
        std::string mask;
        fields >> name >> mask;
        if ((name == "CapPrm:" || name == "CapEff:" || name == "CapAmb:") && std::stoull(mask, nullptr, 16) != 0)
            return true;
    }
    return false;
}

}  // namespace veltaro::testing
