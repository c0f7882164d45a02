// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

#include "pciconfigaddress.h"
#include "portio.h"

namespace veltaro {

// A port driver whose only device is a northbridge function answering from
// a register map, through the same 0xCF8/0xCFC mechanism as the hardware.
// Other functions read as all ones, as absent hardware does.
class SimulatedNorthbridge : public PortIo {
public:
    void setRegister(std::uint8_t offset, std::uint32_t value);

    bool InitializeWinIo() override;
    bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes) override;
    bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes) override;

protected:
    // Called before each register read, so that a subclass can move the
    // registers along with time.
    virtual void beforeRead(std::uint8_t /*offset*/) {}

private:
    std::array<std::uint32_t, 64> m_registers{};
    std::uint32_t m_latchedAddress = 0;
};

}  // namespace veltaro
