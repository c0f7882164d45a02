// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "processorfamilies.h"

namespace veltaro {

class ConfigSpaceLock;
class PortIo;

// One register read through the configuration ports. Both port calls are
// always made. The value is whatever the data port left in a holder that
// starts at 0, so a read the driver does not perform gives 0.
std::uint32_t PciConfigRead(PortIo& portIo, std::uint32_t address);

// The same read, but empty when the driver reports that either port call
// failed: for callers that must not take a failed read for a value.
std::optional<std::uint32_t> readPciConfigChecked(PortIo& portIo, std::uint32_t address);

// A register behind an index/data pair, through the same two ports: the
// index is written to the index register, then the data register is read.
// Empty when the driver reports any of the four port calls as failed.
std::optional<std::uint32_t> readIndexedChecked(PortIo& portIo, const IndexedRegister& pair);

// Holds the configuration space lock for one sequence of port calls, and
// gives it back when it goes.
class ConfigSpaceGuard {
public:
    explicit ConfigSpaceGuard(ConfigSpaceLock& lock);
    ~ConfigSpaceGuard();
    ConfigSpaceGuard(const ConfigSpaceGuard&) = delete;
    ConfigSpaceGuard& operator=(const ConfigSpaceGuard&) = delete;

    bool held() const { return m_held; }

private:
    ConfigSpaceLock& m_lock;
    bool m_held;
};

// A thermal register read under the lock: empty when the lock could not
// be had in time or the driver reports the read as failed.
std::optional<std::uint32_t> readThermalRegister(PortIo& portIo, ConfigSpaceLock& lock, ThermalRegister where);

}  // namespace veltaro
