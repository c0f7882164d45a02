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
    bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes) override;

protected:
    // The register at `address`; empty when it cannot be read.
    virtual std::optional<std::uint32_t> readConfigRegister(const ConfigAddress& address) const = 0;

private:
    std::uint32_t m_latchedAddress = 0;
};

}  // namespace veltaro
