// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pawnioexecutor.h"

namespace veltaro {

// PawnIO's user-mode library, "PawnIOLib.dll", taken by its full path from
// the folder PawnIO's installer recorded, and one executor opened with it.
// Never by bare name and never from the program's folder or the current
// folder: the program runs as administrator, and a library of that name
// planted there would run with those rights. The installer ships the
// library for 64-bit Windows only.
//
// The executor is closed when this goes, which for the program is when
// the process ends.
class PawnIoLibrary final : public PawnIoExecutor {
public:
    PawnIoLibrary() = default;
    ~PawnIoLibrary() override;
    PawnIoLibrary(const PawnIoLibrary&) = delete;
    PawnIoLibrary& operator=(const PawnIoLibrary&) = delete;

    bool load(std::span<const std::uint8_t> module) override;
    bool execute(const char* function, std::span<const std::uint64_t> in, std::span<std::uint64_t> out) override;

private:
    // The library's calls, as its header declares them: STDAPICALLTYPE,
    // an HRESULT each.
    using OpenFn = HRESULT(WINAPI*)(PHANDLE executor);
    using LoadFn = HRESULT(WINAPI*)(HANDLE executor, const UCHAR* blob, SIZE_T size);
    using ExecuteFn = HRESULT(WINAPI*)(HANDLE executor, PCSTR name, const ULONG64* in, SIZE_T inCount, PULONG64 out,
                                       SIZE_T outCount, PSIZE_T returnedCount);
    using CloseFn = HRESULT(WINAPI*)(HANDLE executor);

    HMODULE m_library = nullptr;
    HANDLE m_executor = nullptr;
    ExecuteFn m_execute = nullptr;
    CloseFn m_close = nullptr;
};

// The folders PawnIO's installers recorded, in the order they are tried:
// "InstallLocation" of its entry among the installed programs, then
// "Install_Dir" of HKLM\SOFTWARE\PawnIO, both in the registry's 64-bit
// view, then "Install_Dir" in the 32-bit view; text values, expanded.
// Only full paths count: a relative one would send the library search
// wherever it looks first.
std::vector<std::wstring> pawnIoInstallFolders();

// A file of the program's own folder, whole; empty when it is missing, or
// too large to be a module.
std::optional<std::vector<std::uint8_t>> readFileBesideProgram(const std::wstring& fileName);

}  // namespace veltaro
