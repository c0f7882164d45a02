#pragma once

#include <windows.h>

#include "portio.h"

namespace veltaro {

// The port I/O driver library, "WinIo.dll", loaded by that name at the
// first InitializeWinIo (the system's usual search: the program's own
// folder first) and then called straight through.
//
// A library that cannot be loaded, or lacks one of the three entry
// points, is a failed start (false), never an error that ends the
// program: the user then gets the driver message, which says what to do.
// Until a start has found the library, the port calls do nothing and
// return false, leaving the out value as it was.
class WinIoPortIo final : public PortIo {
public:
    WinIoPortIo() = default;
    ~WinIoPortIo() override;
    WinIoPortIo(const WinIoPortIo&) = delete;
    WinIoPortIo& operator=(const WinIoPortIo&) = delete;

    bool InitializeWinIo() override;
    bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes) override;
    bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes) override;

private:
    // The entry points as the library declares them: __stdcall, undecorated
    // names on x64. The result is read as a one-byte boolean, which is right
    // whether the library returns a C++ bool or a BOOL of 0 or 1.
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
