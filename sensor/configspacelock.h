// SPDX-License-Identifier: MIT
#pragma once

namespace veltaro {

// Configuration space, and the index/data register pairs in it, are shared
// with every other program that reads hardware registers: between an
// index write and its data read nobody else may write an index, nor,
// through the configuration ports, an address. Each such sequence holds
// this lock.
class ConfigSpaceLock {
public:
    virtual ~ConfigSpaceLock() = default;

    // True when the lock is now held, after a short wait at most.
    virtual bool acquire() = 0;
    virtual void release() = 0;
};

// Where the system serialises every configuration access itself (the
// Linux kernel's PCI files), and for the simulated processor.
class UncontendedConfigSpaceLock final : public ConfigSpaceLock {
public:
    bool acquire() override { return true; }
    void release() override {}
};

}  // namespace veltaro
