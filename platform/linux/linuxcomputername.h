// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "computername.h"

namespace veltaro {

// The computer name is the kernel's host name (the node name of uname),
// which can run to 64 characters.
class LinuxComputerName final : public ComputerName {
public:
    bool query(char* buffer, std::uint32_t& size) override;

    // No name when the kernel does not say; the query then fails and leaves
    // the buffer and size alone.
    static std::optional<std::string> hostName();
};

}  // namespace veltaro
