// SPDX-License-Identifier: MIT
#pragma once

#include "configspacesource.h"
#include "demonorthbridge.h"

namespace veltaro {

// The demo's readings: its simulated processor's registers through its
// configuration space, and besides two die sensors on node 0, a little
// warmer and cooler than the node, so that the readout's tooltip shows
// every kind of line without the hardware. A family 10h part has no such
// sensors; the demo is no measurement and says so in its title.
class DemoReadings final : public ReadingSource {
public:
    explicit DemoReadings(DemoNorthbridge& northbridge);

    bool start() override { return m_registers.start(); }
    std::optional<std::uint32_t> signatureRegister() override { return m_registers.signatureRegister(); }
    std::optional<SourceReading> read(const ProcessorFamily& row) override { return m_registers.read(row); }
    unsigned nodeCount(const ProcessorFamily& row) override { return m_registers.nodeCount(row); }
    std::optional<SourceReading> readNode(const ProcessorFamily& row, unsigned node) override
    {
        return m_registers.readNode(row, node);
    }
    std::optional<SourceReading> readDie(unsigned node, const DieSensor& die) override;

private:
    DemoNorthbridge& m_northbridge;
    UncontendedConfigSpaceLock m_lock;
    ConfigSpaceSource m_registers;
};

}  // namespace veltaro
