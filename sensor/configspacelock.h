// SPDX-License-Identifier: MIT
#pragma once

namespace veltaro {

// The configuration ports 0xCF8/0xCFC, and the index/data register pairs
// behind them, are shared with every other program that reads hardware
// registers: between an address write and its data read nobody else may
// write an address. Each such sequence holds this lock.
class ConfigSpaceLock {
public:
    virtual ~ConfigSpaceLock() = default;

    // True when the lock is now held, after a short wait at most.
    virtual bool acquire() = 0;
    virtual void release() = 0;
    // True where the system already serialises every configuration access,
    // so that holding this lock adds nothing.
    virtual bool serialisedElsewhere() const { return false; }
};

// Where the system serialises every configuration access itself (the
// Linux kernel's PCI files), and for the simulated processor.
class UncontendedConfigSpace final : public ConfigSpaceLock {
public:
    bool acquire() override { return true; }
    void release() override {}
    bool serialisedElsewhere() const override { return true; }
};

}  // namespace veltaro
