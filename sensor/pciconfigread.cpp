// SPDX-License-Identifier: MIT
#include "pciconfigread.h"

#include "pciconfigaddress.h"
#include "portio.h"

namespace veltaro {

namespace {

struct PortRead {
    std::uint32_t value = 0;
    bool ok = false;
};

PortRead readThroughPorts(PortIo& portIo, std::uint32_t address)
{
    constexpr std::uint8_t kDword = 4;
    PortRead read;
    const bool addressLatched = portIo.SetPortVal(kConfigAddressPort, address, kDword);
    const bool dataRead = portIo.GetPortVal(kConfigDataPort, read.value, kDword);
    read.ok = addressLatched && dataRead;
    return read;
}

}  // namespace

std::uint32_t PciConfigRead(PortIo& portIo, std::uint32_t address)
{
    return readThroughPorts(portIo, address).value;
}

std::optional<std::uint32_t> readPciConfigChecked(PortIo& portIo, std::uint32_t address)
{
    const PortRead read = readThroughPorts(portIo, address);
    if (!read.ok)
        return std::nullopt;
    return read.value;
}

}  // namespace veltaro
