// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "configspace.h"
#include "configspacelock.h"
#include "readingsource.h"

namespace veltaro {

// The registers through one way to configuration space: every read is
// PciConfigRead's, or an index/data pair's, under the configuration space
// lock.
class ConfigSpaceSource final : public ReadingSource {
public:
    ConfigSpaceSource(ConfigSpace& configSpace, ConfigSpaceLock& lock);
    // The same, keeping the way and the lock for as long as it lives.
    ConfigSpaceSource(std::unique_ptr<ConfigSpace> configSpace, std::unique_ptr<ConfigSpaceLock> lock);

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
    std::optional<std::uint32_t> readRegister(const ProcessorFamily& row, unsigned node);

    std::unique_ptr<ConfigSpace> m_ownedConfigSpace;
    std::unique_ptr<ConfigSpaceLock> m_ownedLock;
    ConfigSpace& m_configSpace;
    ConfigSpaceLock& m_lock;
    std::optional<unsigned> m_nodes;
};

}  // namespace veltaro
