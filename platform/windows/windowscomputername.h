// SPDX-License-Identifier: MIT
#pragma once

#include "computername.h"

namespace veltaro {

// GetComputerNameA, whose size rules are the ones ComputerName states.
class WindowsComputerName final : public ComputerName {
public:
    bool query(char* buffer, std::uint32_t& size) override;
};

}  // namespace veltaro
