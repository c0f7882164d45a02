// SPDX-License-Identifier: MIT
#include "winiodouble.h"

#include <memory>
#include <vector>

#include "simulatednorthbridge.h"

namespace {

struct PortCall {
    bool write;
    WORD port;
    DWORD value;
    BYTE size;
};

struct Driver {
    Driver()
    {
#ifdef WINIO_DOUBLE_FAMILY_10H_AT_55
        // The end-to-end tests' processor: family 10h at 55 degrees.
        northbridge.setRegister(0xFC, 0x00100F42);
        northbridge.setRegister(0xA4, 0x37000000);
#endif
    }

    veltaro::SimulatedNorthbridge northbridge;
    bool startResult = true;
    DWORD starts = 0;
    std::vector<PortCall> calls;
};

Driver& driver()
{
    static auto instance = std::make_unique<Driver>();
    return *instance;
}

}  // namespace

bool __stdcall InitializeWinIo()
{
    ++driver().starts;
    return driver().startResult;
}

bool __stdcall SetPortVal(WORD port, DWORD value, BYTE size)
{
    driver().calls.push_back({true, port, value, size});
    return driver().northbridge.SetPortVal(port, value, size);
}

bool __stdcall GetPortVal(WORD port, DWORD* value, BYTE size)
{
    std::uint32_t read = *value;
    const bool done = driver().northbridge.GetPortVal(port, read, size);
    *value = read;
    driver().calls.push_back({false, port, read, size});
    return done;
}

void __stdcall WinIoDoubleReset()
{
    driver() = Driver{};
}

void __stdcall WinIoDoubleSetStartResult(bool started)
{
    driver().startResult = started;
}

void __stdcall WinIoDoubleSetRegister(BYTE offset, DWORD value)
{
    driver().northbridge.setRegister(offset, value);
}

DWORD __stdcall WinIoDoubleStartCount()
{
    return driver().starts;
}

bool __stdcall WinIoDoublePortCall(DWORD index, bool* write, WORD* port, DWORD* value, BYTE* size)
{
    if (index >= driver().calls.size())
        return false;
    const PortCall& call = driver().calls[index];
    *write = call.write;
    *port = call.port;
    *value = call.value;
    *size = call.size;
    return true;
}
