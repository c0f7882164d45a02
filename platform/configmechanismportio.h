// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "pciconfigaddress.h"
#include "portio.h"

namespace veltaro {

// The configuration mechanism of ports 0xCF8/0xCFC for drivers that answer
// register reads from somewhere else than the ports themselves: a 4-byte
// write of 0xCF8 latches an address, a 4-byte read of 0xCF8 gives it back,
// and a 4-byte read of 0xCFC with the enable bit set reads the register.
// Any other port access is refused (false).
class ConfigMechanismPortIo : public PortIo {
public:
    bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes) override;

protected:
    // What GetPortVal answers, `readRegister(address)` giving the register
    // at a ConfigAddress (empty when it cannot be read). A template rather
    // than a virtual call: the tick's register read then runs in the
    // driver's own GetPortVal, one call fewer between the sampler and the
    // system call.
    template <typename ReadRegister>
    bool answerPortRead(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes,
                        ReadRegister&& readRegister) const
    {
        if (sizeBytes != kConfigAccessBytes)
            return false;
        if (port == kConfigAddressPort) {
            value = m_latchedAddress;
            return true;
        }
        if (port != kConfigDataPort || (m_latchedAddress & kConfigEnableBit) == 0)
            return false;
        const std::optional<std::uint32_t> registerValue = readRegister(decodeConfigAddress(m_latchedAddress));
        if (!registerValue)
            return false;
        value = *registerValue;
        return true;
    }

private:
    std::uint32_t m_latchedAddress = 0;
};

}  // namespace veltaro
