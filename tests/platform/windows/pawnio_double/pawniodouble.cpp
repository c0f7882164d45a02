// SPDX-License-Identifier: MIT
// A stand-in for PawnIO's user-mode library, built as "PawnIOLib.dll". Its
// executor loads only the stand-in modules, files that hold exactly
// "veltaro-pawnio-double <module name>" (as the driver loads only modules
// its maker signed), and only the one for the host's own family, as each
// module's start refuses any other. It runs the functions of the loaded
// module from a register map and refuses the rest.
//
// Where VELTARO_PAWNIO_DOUBLE_LOG names a file, each call of a function
// appends a line to it: the function, its arguments, and "held" or "free":
// whether Global\Access_PCI was held while it ran.

#include <cpuid.h>
#include <windows.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#define PAWNIO_DOUBLE_API extern "C" __declspec(dllexport) HRESULT __stdcall

namespace {

struct Module {
    const char* name;
    unsigned firstFamily;
    unsigned lastFamily;
};
constexpr Module kModules[] = {{"AMDFamily0F", 0x0F, 0x0F}, {"AMDFamily10", 0x10, 0x16}, {"AMDFamily17", 0x17, 0x1A}};

// The registers, by module, function and arguments. Node 1 of the family
// 0Fh and 10h boards answers too; node 2 does not.
struct Register {
    const char* module;
    const char* function;
    std::uint64_t in[2];
    std::uint32_t value;
};
// clang-format off
constexpr Register kRegisters[] = {
    // F3xE4, bits 23..16 at 94 and 90: 45 and 41 degrees.
    {"AMDFamily0F", "ioctl_get_thermtrip", {0, 0}, 0x005E'0000},
    {"AMDFamily0F", "ioctl_get_thermtrip", {1, 0}, 0x005A'0000},
    // Function 3's vendor and device, and F3xA4 at 55 and 52 degrees.
    {"AMDFamily10", "ioctl_read_miscctl", {0, 0x00}, 0x1203'1022},
    {"AMDFamily10", "ioctl_read_miscctl", {1, 0x00}, 0x1203'1022},
    {"AMDFamily10", "ioctl_read_miscctl", {0, 0xA4}, 0x3700'0000},
    {"AMDFamily10", "ioctl_read_miscctl", {1, 0xA4}, 0x3400'0000},
    // D0F0xBC_xD820_0CA4, 489 eighths.
    {"AMDFamily10", "ioctl_read_smu", {0xD820'0CA4}, 0x3D20'0000},
    // SMN 0x00059800, 392 eighths: 49 degrees.
    {"AMDFamily17", "ioctl_read_smn", {0x0005'9800}, 0x3100'0000},
};
// clang-format on

struct Function {
    const char* module;
    const char* name;
    SIZE_T inCount;
};
constexpr Function kFunctions[] = {{"AMDFamily0F", "ioctl_get_thermtrip", 2},
                                   {"AMDFamily10", "ioctl_read_miscctl", 2},
                                   {"AMDFamily10", "ioctl_read_smu", 1},
                                   {"AMDFamily17", "ioctl_read_smn", 1}};

const Module* g_loaded = nullptr;
int g_executor = 0;

unsigned hostFamily()
{
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0)
        return 0;
    const unsigned family = (eax >> 8) & 0xF;
    return family == 0xF ? family + ((eax >> 20) & 0xFF) : family;
}

// Another thread's wait that does not time out finds the mutex free.
bool accessPciHeld()
{
    HANDLE mutex = ::OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, L"Global\\Access_PCI");
    if (mutex == nullptr)
        return false;
    bool held = false;
    std::thread([&] {
        held = ::WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT;
        if (!held)
            ::ReleaseMutex(mutex);
    }).join();
    ::CloseHandle(mutex);
    return held;
}

void log(PCSTR name, const ULONG64* in, SIZE_T inCount)
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("VELTARO_PAWNIO_DOUBLE_LOG", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    FILE* file = std::fopen(path, "a");
    if (file == nullptr)
        return;
    std::fputs(name, file);
    for (SIZE_T i = 0; i < inCount; ++i) {
        char digits[24] = " 0x";
        *std::to_chars(digits + 3, digits + sizeof digits - 1, in[i], 16).ptr = '\0';
        std::fputs(digits, file);
    }
    std::fputs(accessPciHeld() ? " held\n" : " free\n", file);
    std::fclose(file);
}

}  // namespace

PAWNIO_DOUBLE_API pawnio_version(PULONG version)
{
    *version = 0x0001'0000;
    return S_OK;
}

PAWNIO_DOUBLE_API pawnio_open(PHANDLE handle)
{
    *handle = &g_executor;
    return S_OK;
}

PAWNIO_DOUBLE_API pawnio_load(HANDLE handle, const UCHAR* blob, SIZE_T size)
{
    if (handle != &g_executor)
        return E_HANDLE;
    for (const Module& module : kModules) {
        const std::string expected = std::string("veltaro-pawnio-double ") + module.name;
        if (size != expected.size() || std::memcmp(blob, expected.data(), size) != 0)
            continue;
        const unsigned family = hostFamily();
        if (family < module.firstFamily || family > module.lastFamily)
            return HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
        g_loaded = &module;
        return S_OK;
    }
    return HRESULT_FROM_WIN32(577);  // ERROR_INVALID_IMAGE_HASH: not signed
}

PAWNIO_DOUBLE_API pawnio_execute(HANDLE handle, PCSTR name, const ULONG64* in, SIZE_T inCount, PULONG64 out,
                                 SIZE_T outCount, PSIZE_T returnedCount)
{
    *returnedCount = 0;
    if (handle != &g_executor || g_loaded == nullptr)
        return E_HANDLE;
    log(name, in, inCount);
    for (const Function& function : kFunctions) {
        if (std::strcmp(function.module, g_loaded->name) != 0 || std::strcmp(function.name, name) != 0)
            continue;
        if (inCount != function.inCount || outCount != 1)
            return E_INVALIDARG;
        for (const Register& reg : kRegisters) {
            if (std::strcmp(reg.function, name) == 0 && reg.in[0] == in[0] && (inCount < 2 || reg.in[1] == in[1])) {
                out[0] = reg.value;
                *returnedCount = 1;
                return S_OK;
            }
        }
        return E_ACCESSDENIED;
    }
    return HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

PAWNIO_DOUBLE_API pawnio_close(HANDLE handle)
{
    return handle == &g_executor ? S_OK : E_HANDLE;
}
