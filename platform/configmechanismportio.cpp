// SPDX-License-Identifier: MIT
#include "configmechanismportio.h"

namespace veltaro {

namespace {

constexpr std::uint8_t kDword = 4;

}  // namespace

bool ConfigMechanismPortIo::SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes)
{
    if (port != kConfigAddressPort || sizeBytes != kDword)
        return false;
    m_latchedAddress = value;
    return true;
}

bool ConfigMechanismPortIo::GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes)
{
    if (sizeBytes != kDword)
        return false;
    if (port == kConfigAddressPort) {
        value = m_latchedAddress;
        return true;
    }
    if (port != kConfigDataPort || (m_latchedAddress & kConfigEnableBit) == 0)
        return false;
    const std::optional<std::uint32_t> registerValue = readConfigRegister(decodeConfigAddress(m_latchedAddress));
    if (!registerValue)
        return false;
    value = *registerValue;
    return true;
}

}  // namespace veltaro
