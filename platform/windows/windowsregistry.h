// SPDX-License-Identifier: MIT
#pragma once

#include "registrybackend.h"

namespace veltaro {

// The system registry through its narrow-character calls:
// RegConnectRegistryA, RegOpenKeyExA, RegQueryValueExA and RegCloseKey.
// Statuses are the system's own.
class WindowsRegistry final : public RegistryBackend {
public:
    RegistryStatus connect(const std::string& machineName, RegistryKey predefinedKey, RegistryKey& result) override;
    RegistryStatus openKey(RegistryKey parent, const std::string& subKey, std::uint32_t options,
                           std::uint32_t desiredAccess, RegistryKey& result) override;
    RegistryStatus queryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                              std::uint32_t& dataSize) override;
    RegistryStatus closeKey(RegistryKey key) override;
};

}  // namespace veltaro
