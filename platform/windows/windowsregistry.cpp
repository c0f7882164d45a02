// SPDX-License-Identifier: MIT
#include "windowsregistry.h"

#include <windows.h>

namespace veltaro {

namespace {

// The predefined keys are 32-bit values that the system's headers
// sign-extend into a handle: HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 in a
// 64-bit program, not 0x80000002. It is handed over in exactly that form
// rather than trusting every version of the system to look only at the
// low 32 bits. Every other handle passes unchanged.
HKEY toHandle(RegistryKey key)
{
    if (key == kHKeyLocalMachine)
        return HKEY_LOCAL_MACHINE;
    return reinterpret_cast<HKEY>(key);
}

RegistryKey fromHandle(HKEY handle)
{
    return reinterpret_cast<RegistryKey>(handle);
}

}  // namespace

RegistryStatus WindowsRegistry::connect(const std::string& machineName, RegistryKey predefinedKey, RegistryKey& result)
{
    HKEY connected = nullptr;
    const LSTATUS status = ::RegConnectRegistryA(machineName.c_str(), toHandle(predefinedKey), &connected);
    result = status == ERROR_SUCCESS ? fromHandle(connected) : kNoRegistryKey;
    return status;
}

RegistryStatus WindowsRegistry::openKey(RegistryKey parent, const std::string& subKey, std::uint32_t options,
                                        std::uint32_t desiredAccess, RegistryKey& result)
{
    HKEY opened = nullptr;
    const LSTATUS status = ::RegOpenKeyExA(toHandle(parent), subKey.c_str(), options, desiredAccess, &opened);
    result = status == ERROR_SUCCESS ? fromHandle(opened) : kNoRegistryKey;
    return status;
}

RegistryStatus WindowsRegistry::queryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                                           std::uint8_t* data, std::uint32_t& dataSize)
{
    DWORD valueType = REG_NONE;
    DWORD size = dataSize;
    const LSTATUS status = ::RegQueryValueExA(toHandle(key), valueName.c_str(), nullptr, &valueType, data, &size);
    type = valueType;
    dataSize = size;
    return status;
}

RegistryStatus WindowsRegistry::closeKey(RegistryKey key)
{
    return ::RegCloseKey(toHandle(key));
}

}  // namespace veltaro
