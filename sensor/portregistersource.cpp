// SPDX-License-Identifier: MIT
#include "portregistersource.h"

#include <utility>

#include "pciconfigread.h"

namespace veltaro {

PortRegisterSource::PortRegisterSource(PortIo& portIo, ConfigSpaceLock& lock)
    : m_portIo(portIo)
    , m_lock(lock)
{
}

PortRegisterSource::PortRegisterSource(std::unique_ptr<PortIo> portIo, std::unique_ptr<ConfigSpaceLock> lock)
    : m_ownedPortIo(std::move(portIo))
    , m_ownedLock(std::move(lock))
    , m_portIo(*m_ownedPortIo)
    , m_lock(*m_ownedLock)
{
}

bool PortRegisterSource::start()
{
    return m_portIo.InitializeWinIo();
}

std::optional<std::uint32_t> PortRegisterSource::signatureRegister()
{
    const ConfigSpaceGuard guard(m_lock);
    if (!guard.held())
        return std::nullopt;
    // The driver's status is not looked at here: a read it does not
    // perform leaves 0, which holds no signature.
    return PciConfigRead(m_portIo, kSignatureRegister);
}

std::optional<SourceReading> PortRegisterSource::read(const ProcessorFamily& row)
{
    const std::optional<std::uint32_t> value = readThermalRegister(m_portIo, m_lock, row.thermalRegister);
    if (!value)
        return std::nullopt;
    return SourceReading::registerValue(*value);
}

}  // namespace veltaro
