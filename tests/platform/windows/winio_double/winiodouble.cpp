// SPDX-License-Identifier: MIT
#include "winiodouble.h"

#include <cstring>
#include <memory>
#include <vector>

#include "pciconfigread.h"
#include "simulatedprocessor.h"

namespace {

struct PortCall {
    bool write;
    WORD port;
    DWORD value;
    BYTE size;
};

// The processors a test can start a program on: the signature register,
// and the register each keeps its temperature in. Family 15h models 60h
// and later keep an older figure in F3xA4 that is not theirs to show; a
// Zen's signature register reads 0, so its family comes from CPUID.
struct NamedProcessor {
    const char* name;
    DWORD signature;
    DWORD reportedTemperature;
    DWORD rootComplexTemperature;
    DWORD smnTemperature;
};

// clang-format off
constexpr NamedProcessor kProcessors[] = {
    // Family 10h model 4 (Phenom II X4 940): bits 31..24 are 55 degrees.
    {"family-10h", 0x00100F42, 0x3700'0000, 0, 0},
    // Family 15h model 2 (FX-8350): 420 eighths, 52.5 degrees.
    {"family-15h", 0x00600F20, 0x3480'0000, 0, 0},
    // The same part reading 852 eighths in its other range (bits 17..16
    // set): 106.5 less 49, 57.5 degrees.
    {"family-15h-other-range", 0x00600F20, 0x6A83'0000, 0, 0},
    // Family 15h model 60h (A10-8700P): 489 eighths, 61.125 degrees,
    // behind the root complex's pair.
    {"family-15h-model-60h", 0x00660F01, 0x3480'0000, 0x3D20'0000, 0},
    // 367 eighths, 45.875 degrees, on the system management network.
    {"zen", 0, 0, 0, 0x2DE0'0000},
};
// clang-format on

constexpr char kProcessorVariable[] = "VELTARO_WINIO_DOUBLE_PROCESSOR";

void simulateNamedProcessor(veltaro::SimulatedProcessor& northbridge)
{
    char name[64] = {};
    const DWORD length = ::GetEnvironmentVariableA(kProcessorVariable, name, sizeof name);
    if (length == 0 || length >= sizeof name)
        return;
    for (const NamedProcessor& processor : kProcessors) {
        if (std::strcmp(processor.name, name) != 0)
            continue;
        northbridge.setRegister(0xFC, processor.signature);
        northbridge.setRegister(0xA4, processor.reportedTemperature);
        if (processor.rootComplexTemperature != 0)
            northbridge.setIndexedRegister(veltaro::kRootComplexReportedTemperature, processor.rootComplexTemperature);
        if (processor.smnTemperature != 0)
            northbridge.setIndexedRegister(veltaro::kSmnReportedTemperature, processor.smnTemperature);
    }
}

struct Driver {
    Driver() { simulateNamedProcessor(northbridge); }

    veltaro::SimulatedProcessor northbridge;
    // The configuration mechanism's address latch, port 0xCF8.
    DWORD latchedAddress = 0;
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

// Ports 0xCF8 and 0xCFC as the hardware answers them, 4 bytes at a time:
// an address with the enable bit (31) selects a register, which 0xCFC
// then reads or writes. Any other access is refused.
bool __stdcall SetPortVal(WORD port, DWORD value, BYTE size)
{
    Driver& state = driver();
    state.calls.push_back({true, port, value, size});
    if (size != 4)
        return false;
    if (port == 0x0CF8) {
        state.latchedAddress = value;
        return true;
    }
    if (port != 0x0CFC || (state.latchedAddress & 0x8000'0000) == 0)
        return false;
    const veltaro::ConfigAddress address = veltaro::decodeConfigAddress(state.latchedAddress);
    return state.northbridge.write(address.function, address.registerOffset, value);
}

bool __stdcall GetPortVal(WORD port, DWORD* value, BYTE size)
{
    Driver& state = driver();
    bool done = false;
    if (port == 0x0CFC && size == 4 && (state.latchedAddress & 0x8000'0000) != 0) {
        const veltaro::ConfigAddress address = veltaro::decodeConfigAddress(state.latchedAddress);
        if (const std::optional<std::uint32_t> read =
                state.northbridge.read(address.function, address.registerOffset)) {
            *value = *read;
            done = true;
        }
    }
    state.calls.push_back({false, port, *value, size});
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

void __stdcall WinIoDoubleSetIndexedRegister(DWORD indexAddress, DWORD dataAddress, DWORD index, DWORD value)
{
    driver().northbridge.setIndexedRegister({indexAddress, dataAddress, index}, value);
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
