// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <cstdint>

namespace veltaro {

// The port I/O driver library, "WinIo.dll", loaded from the program's own
// folder at the first InitializeWinIo and then called straight through.
// It is never released: the driver lives until the process ends.
//
// A library that cannot be loaded, or lacks one of the three entry
// points, is a failed start (false), never an error that ends the
// program: the user then gets the driver message, which says what to do.
// Until a start has found the library, the port calls do nothing and
// return false, leaving the out value as it was.
class WinIoPortIo final {
public:
    WinIoPortIo() = default;
    WinIoPortIo(const WinIoPortIo&) = delete;
    WinIoPortIo& operator=(const WinIoPortIo&) = delete;

    // Starts the driver. True: ports can now be read and written.
    bool InitializeWinIo();
    // Writes the low `sizeBytes` bytes of `value` to `port`.
    bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes);
    // Reads `sizeBytes` bytes from `port` into `value`. A read the driver
    // does not perform leaves `value` untouched.
    bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes);

private:
    // The entry points as the library declares them: __stdcall. The result is read as a one-byte boolean, which is
    // right whether the library returns a C++ bool or a BOOL of 0 or 1.
    using InitializeFn = bool(__stdcall*)();
    using SetPortValFn = bool(__stdcall*)(WORD port, DWORD value, BYTE size);
    using GetPortValFn = bool(__stdcall*)(WORD port, DWORD* value, BYTE size);

    bool load();

    HMODULE m_library = nullptr;
    InitializeFn m_initialize = nullptr;
    SetPortValFn m_setPortVal = nullptr;
    GetPortValFn m_getPortVal = nullptr;
};

}  // namespace veltaro
