// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include "configspacelock.h"

namespace veltaro {

// The machine-wide mutex "Global\Access_PCI" by which Windows hardware
// monitors take turns at the configuration ports. It is created so that
// programs of any user may wait for it and release it, while only
// administrators and the system may change who may, or opened where
// another program made it first. A wait lasts 10 ms at most: a tick that
// cannot have it shows no reading, and the next one tries again. A mutex
// left behind by a program that ended while holding it is taken over.
class WindowsConfigSpaceLock final : public ConfigSpaceLock {
public:
    static constexpr DWORD kWaitMs = 10;

    WindowsConfigSpaceLock() = default;
    ~WindowsConfigSpaceLock() override;
    WindowsConfigSpaceLock(const WindowsConfigSpaceLock&) = delete;
    WindowsConfigSpaceLock& operator=(const WindowsConfigSpaceLock&) = delete;

    bool acquire() override;
    void release() override;

private:
    // The handle, made at the first acquire and again after a failure.
    HANDLE mutex();

    HANDLE m_mutex = nullptr;
};

}  // namespace veltaro
