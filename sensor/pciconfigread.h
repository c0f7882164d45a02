// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "configspacelock.h"
#include "pciconfigaddress.h"
#include "portio.h"
#include "processorfamilies.h"

namespace veltaro {

// The two port calls of one configuration read, and whether the driver
// reported both as done. Defined here, as the reads below, because the
// tick runs them: each call between the sampler and the driver's system
// call costs measurably more than its few instructions.
struct PortRead {
    std::uint32_t value = 0;
    bool ok = false;
};

inline PortRead readThroughPorts(PortIo& portIo, std::uint32_t address)
{
    PortRead read;
    const bool addressLatched = portIo.SetPortVal(kConfigAddressPort, address, kConfigAccessBytes);
    const bool dataRead = portIo.GetPortVal(kConfigDataPort, read.value, kConfigAccessBytes);
    read.ok = addressLatched && dataRead;
    return read;
}

// One register read through the configuration ports. Both port calls are
// always made. The value is whatever the data port left in a holder that
// starts at 0, so a read the driver does not perform gives 0.
inline std::uint32_t PciConfigRead(PortIo& portIo, std::uint32_t address)
{
    return readThroughPorts(portIo, address).value;
}

// The same read, but empty when the driver reports that either port call
// failed: for callers that must not take a failed read for a value.
inline std::optional<std::uint32_t> readPciConfigChecked(PortIo& portIo, std::uint32_t address)
{
    const PortRead read = readThroughPorts(portIo, address);
    if (!read.ok)
        return std::nullopt;
    return read.value;
}

// A register behind an index/data pair, through the same two ports: the
// index is written to the index register, then the data register is read.
// Empty when the driver reports any of the four port calls as failed.
std::optional<std::uint32_t> readIndexedChecked(PortIo& portIo, const IndexedRegister& pair);

// Holds the configuration space lock for one sequence of port calls, and
// gives it back when it goes.
class ConfigSpaceGuard {
public:
    explicit ConfigSpaceGuard(ConfigSpaceLock& lock)
        : m_lock(lock)
        , m_held(lock.acquire())
    {
    }
    ~ConfigSpaceGuard()
    {
        if (m_held)
            m_lock.release();
    }
    ConfigSpaceGuard(const ConfigSpaceGuard&) = delete;
    ConfigSpaceGuard& operator=(const ConfigSpaceGuard&) = delete;

    bool held() const { return m_held; }

private:
    ConfigSpaceLock& m_lock;
    bool m_held;
};

}  // namespace veltaro
