// SPDX-License-Identifier: MIT
#include "pciconfigread.h"

#include "configspacelock.h"
#include "pciconfigaddress.h"
#include "portio.h"

namespace veltaro {

namespace {

constexpr std::uint8_t kDword = 4;

struct PortRead {
    std::uint32_t value = 0;
    bool ok = false;
};

PortRead readThroughPorts(PortIo& portIo, std::uint32_t address)
{
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

std::optional<std::uint32_t> readIndexedChecked(PortIo& portIo, const IndexedRegister& pair)
{
    // A failed index write must not be followed by a data read: the data
    // register would answer for whatever index was there before.
    if (!portIo.SetPortVal(kConfigAddressPort, pair.indexAddress, kDword) ||
        !portIo.SetPortVal(kConfigDataPort, pair.index, kDword))
        return std::nullopt;
    return readPciConfigChecked(portIo, pair.dataAddress);
}

ConfigSpaceGuard::ConfigSpaceGuard(ConfigSpaceLock& lock)
    : m_lock(lock)
    , m_held(lock.acquire())
{
}

ConfigSpaceGuard::~ConfigSpaceGuard()
{
    if (m_held)
        m_lock.release();
}

std::optional<std::uint32_t> readThermalRegister(PortIo& portIo, ConfigSpaceLock& lock, ThermalRegister where)
{
    const ConfigSpaceGuard guard(lock);
    if (!guard.held())
        return std::nullopt;
    if (const IndexedRegister* pair = indexPairOf(where))
        return readIndexedChecked(portIo, *pair);
    return readPciConfigChecked(portIo, where == ThermalRegister::ThermtripStatus ? kThermtripStatusRegister
                                                                                  : kReportedTemperatureRegister);
}

}  // namespace veltaro
