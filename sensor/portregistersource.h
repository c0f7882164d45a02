// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "configspacelock.h"
#include "portio.h"
#include "readingsource.h"

namespace veltaro {

// The registers through the configuration ports 0xCF8/0xCFC of a port
// driver: every read is PciConfigRead's, or an index/data pair's, under
// the configuration space lock.
class PortRegisterSource final : public ReadingSource {
public:
    PortRegisterSource(PortIo& portIo, ConfigSpaceLock& lock);
    // The same, keeping the driver and the lock for as long as it lives.
    PortRegisterSource(std::unique_ptr<PortIo> portIo, std::unique_ptr<ConfigSpaceLock> lock);

    // The driver's start: InitializeWinIo.
    bool start() override;
    std::optional<std::uint32_t> signatureRegister() override;
    std::optional<SourceReading> read(const ProcessorFamily& row) override;

private:
    std::unique_ptr<PortIo> m_ownedPortIo;
    std::unique_ptr<ConfigSpaceLock> m_ownedLock;
    PortIo& m_portIo;
    ConfigSpaceLock& m_lock;
};

}  // namespace veltaro
