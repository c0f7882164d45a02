// SPDX-License-Identifier: MIT
#include "winioportio.h"

#include <cstdio>
#include <string>

#include "programfolder.h"

namespace veltaro {

namespace {

constexpr char kLibraryName[] = "WinIo.dll";

// An export by its plain name, or, in a 32-bit library built without a
// definition file, by one of the names its compiler decorates a __stdcall
// function with: "_Name@N" or "Name@N", N the bytes of its arguments.
// GetProcAddress gives every export as one pointer type; the real type is
// the library's declaration of that name.
template <typename Function> Function entryPoint(HMODULE library, const char* name, int argumentBytes)
{
    char decorated[64];
    std::snprintf(decorated, sizeof decorated, "_%s@%d", name, argumentBytes);
    const char* const candidates[] = {name, decorated, decorated + 1};
    for (const char* candidate : candidates) {
        if (FARPROC found = ::GetProcAddress(library, candidate))
            return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
    }
    return nullptr;
}

// From the program's own folder only: the program runs as administrator,
// and a library of that name in the current folder or on the search path
// would run with its rights.
HMODULE loadFromProgramFolder()
{
    HMODULE library = ::LoadLibraryExA(kLibraryName, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    // Systems that do not know the flag refuse it; the full path then
    // names the one file there is to take.
    if (library == nullptr && ::GetLastError() == ERROR_INVALID_PARAMETER) {
        const std::wstring folder = programFolder();
        if (!folder.empty())
            library = ::LoadLibraryW((folder + L"\\" + L"WinIo.dll").c_str());
    }
    return library;
}

}  // namespace

bool WinIoPortIo::load()
{
    if (m_library != nullptr)
        return true;
    HMODULE library = loadFromProgramFolder();
    if (library == nullptr)
        return false;
    const auto initialize = entryPoint<InitializeFn>(library, "InitializeWinIo", 0);
    const auto setPortVal = entryPoint<SetPortValFn>(library, "SetPortVal", 12);
    const auto getPortVal = entryPoint<GetPortValFn>(library, "GetPortVal", 12);
    if (initialize == nullptr || setPortVal == nullptr || getPortVal == nullptr) {
        // Not the library we know: no part of it is used.
        ::FreeLibrary(library);
        return false;
    }
    m_library = library;
    m_initialize = initialize;
    m_setPortVal = setPortVal;
    m_getPortVal = getPortVal;
    return true;
}

bool WinIoPortIo::InitializeWinIo()
{
    return load() && m_initialize();
}

bool WinIoPortIo::SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes)
{
    return m_setPortVal != nullptr && m_setPortVal(port, value, sizeBytes);
}

bool WinIoPortIo::GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes)
{
    if (m_getPortVal == nullptr)
        return false;
    DWORD read = value;
    const bool done = m_getPortVal(port, &read, sizeBytes);
    value = read;
    return done;
}

}  // namespace veltaro
