// SPDX-License-Identifier: MIT
// A stand-in for PawnIO's library, built as "PawnIOLib.dll". It loads only
// the stand-in modules, files holding "veltaro-pawnio-double <name>", as
// the driver loads only modules its maker signed; it runs that module's
// functions from a register map and refuses the rest. Where
// VELTARO_PAWNIO_DOUBLE_LOG names a file, each call appends a line to it:
// the function, its arguments, and whether Global\Access_PCI was held.

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <thread>

#define PAWNIO_API extern "C" __declspec(dllexport) HRESULT __stdcall

namespace {

struct Register {
    std::string function;  // "<module> <function>"
    ULONG64 in[2];
    ULONG64 value;
};
const Register kRegisters[] = {
    {"AMDFamily0F ioctl_get_thermtrip", {0, 0}, 0x005E'0000},    // 45 degrees
    {"AMDFamily10 ioctl_read_miscctl", {0, 0xA4}, 0x3700'0000},  // 55 degrees
    {"AMDFamily10 ioctl_read_smu", {0xD820'0CA4}, 0x3D20'0000},  // 489 eighths
    {"AMDFamily17 ioctl_read_smn", {0x0005'9800}, 0x3100'0000},  // 392 eighths: 49 degrees
};

std::string g_module;
int g_executor = 0;

// Another thread's wait times out only while someone holds the mutex.
bool accessPciHeld()
{
    HANDLE mutex = ::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, L"Global\\Access_PCI");
    bool held = false;
    std::thread([&] {
        held = mutex != nullptr && ::WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT;
        if (mutex != nullptr && !held)
            ::ReleaseMutex(mutex);
    }).join();
    ::CloseHandle(mutex);
    return held;
}

void log(std::string line, const ULONG64* in, SIZE_T inCount)
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("VELTARO_PAWNIO_DOUBLE_LOG", path, sizeof path);
    FILE* file = length == 0 || length >= sizeof path ? nullptr : std::fopen(path, "a");
    if (file == nullptr)
        return;
    for (SIZE_T i = 0; i < inCount; ++i)
        line.append(" 0x").append(path, std::to_chars(path, path + sizeof path, in[i], 16).ptr);
    std::fputs((line + (accessPciHeld() ? " held\n" : " free\n")).c_str(), file);
    std::fclose(file);
}

}  // namespace

PAWNIO_API pawnio_open(PHANDLE handle)
{
    *handle = &g_executor;
    return S_OK;
}

PAWNIO_API pawnio_load(HANDLE /*executor*/, const UCHAR* blob, SIZE_T size)
{
    const std::string module(reinterpret_cast<const char*>(blob), size);
    if (module != "veltaro-pawnio-double AMDFamily0F" && module != "veltaro-pawnio-double AMDFamily10" &&
        module != "veltaro-pawnio-double AMDFamily17")
        return HRESULT_FROM_WIN32(577);  // ERROR_INVALID_IMAGE_HASH: not signed
    g_module = module.substr(module.find(' ') + 1);
    return S_OK;
}

PAWNIO_API pawnio_execute(HANDLE /*executor*/, PCSTR name, const ULONG64* in, SIZE_T inCount, PULONG64 out,
                          SIZE_T outCount, PSIZE_T returned)
{
    *returned = 0;
    log(name, in, inCount);
    for (const Register& reg : kRegisters) {
        if (reg.function == g_module + " " + name && outCount == 1 && inCount <= 2 &&
            std::equal(in, in + inCount, reg.in)) {
            out[0] = reg.value;
            *returned = 1;
            return S_OK;
        }
    }
    return E_ACCESSDENIED;
}

PAWNIO_API pawnio_close(HANDLE /*executor*/)
{
    return S_OK;
}
