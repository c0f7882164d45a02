// SPDX-License-Identifier: MIT
#include "configmechanismportio.h"

namespace veltaro {

[[gnu::hot]] bool ConfigMechanismPortIo::SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes)
{
    if (port != kConfigAddressPort || sizeBytes != kConfigAccessBytes)
        return false;
    m_latchedAddress = value;
    return true;
}

}  // namespace veltaro
