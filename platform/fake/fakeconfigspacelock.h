// SPDX-License-Identifier: MIT
#pragma once

#include "configspacelock.h"

namespace veltaro {

// Can be told to refuse; counts what it was asked and whether it is held.
class FakeConfigSpaceLock final : public ConfigSpaceLock {
public:
    bool available = true;
    int acquisitions = 0;
    int releases = 0;
    bool held = false;

    bool acquire() override
    {
        ++acquisitions;
        held = available;
        return available;
    }

    void release() override
    {
        ++releases;
        held = false;
    }
};

}  // namespace veltaro
