#include "winioportio.h"

namespace veltaro {

namespace {

// GetProcAddress gives every export as one pointer type; the real type is
// the library's declaration of that name.
template <typename Function> Function entryPoint(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

}  // namespace

WinIoPortIo::~WinIoPortIo()
{
    if (m_library != nullptr)
        ::FreeLibrary(m_library);
}

bool WinIoPortIo::load()
{
    if (m_library != nullptr)
        return true;
    HMODULE library = ::LoadLibraryA("WinIo.dll");
    if (library == nullptr)
        return false;
    const auto initialize = entryPoint<InitializeFn>(library, "InitializeWinIo");
    const auto setPortVal = entryPoint<SetPortValFn>(library, "SetPortVal");
    const auto getPortVal = entryPoint<GetPortValFn>(library, "GetPortVal");
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
