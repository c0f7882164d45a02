// SPDX-License-Identifier: MIT
#include "simulatednorthbridge.h"

namespace veltaro {

void SimulatedNorthbridge::setRegister(std::uint8_t offset, std::uint32_t value)
{
    m_registers[offset / 4] = value;
}

bool SimulatedNorthbridge::InitializeWinIo()
{
    return true;
}

bool SimulatedNorthbridge::SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes)
{
    if (port != kConfigAddressPort || sizeBytes != 4)
        return false;
    m_latchedAddress = value;
    return true;
}

bool SimulatedNorthbridge::GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes)
{
    if (port != kConfigDataPort || sizeBytes != 4 || (m_latchedAddress & kConfigEnableBit) == 0)
        return false;
    const ConfigAddress address = decodeConfigAddress(m_latchedAddress);
    if (!(address.function == kNorthbridgeFunction)) {
        value = 0xFFFF'FFFF;
        return true;
    }
    beforeRead(address.registerOffset);
    value = m_registers[address.registerOffset / 4];
    return true;
}

}  // namespace veltaro
