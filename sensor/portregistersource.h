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

    // The northbridge functions that answer beside node 0's, looked for
    // the first time they are asked about. A reading behind the root
    // complex is node 0's alone: each node's lies behind its own.
    unsigned nodeCount(const ProcessorFamily& row) override;
    // Node n's register in its own function 3, device 24 + n.
    std::optional<SourceReading> readNode(const ProcessorFamily& row, unsigned node) override;
    // Node 0's die sensors, through the system management network's pair.
    std::optional<SourceReading> readDie(unsigned node, const DieSensor& die) override;

private:
    std::optional<SourceReading> readThermalRegister(const ProcessorFamily& row);
    std::optional<std::uint32_t> readUnderLock(std::uint32_t address);
    std::unique_ptr<PortIo> m_ownedPortIo;
    std::unique_ptr<ConfigSpaceLock> m_ownedLock;
    PortIo& m_portIo;
    ConfigSpaceLock& m_lock;
    bool m_tickTakesLock;
    std::optional<unsigned> m_nodes;
};

}  // namespace veltaro
