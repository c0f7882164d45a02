// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "registrybackend.h"

namespace veltaro {

// A registry hive held in memory: keys below HKEY_LOCAL_MACHINE with
// values of any type and size, read through the same calls as the real
// registry. Key paths and value names compare without regard to letter
// case, as the registry's do (ASCII letters only; other bytes must match).
class InMemoryRegistry : public RegistryBackend {
public:
    struct Value {
        std::uint32_t type = kRegNone;
        std::vector<std::uint8_t> data;
    };

    // Connections are accepted for this computer name only.
    explicit InMemoryRegistry(std::string localComputerName);

    // Paths are relative to HKEY_LOCAL_MACHINE; missing keys along the path
    // are created.
    void createKey(std::string_view path);
    void setValue(std::string_view keyPath, std::string_view valueName, Value value);
    // A REG_SZ holding `text` and its terminating NUL.
    void setString(std::string_view keyPath, std::string_view valueName, std::string_view text);
    // A REG_DWORD, least significant byte first.
    void setDword(std::string_view keyPath, std::string_view valueName, std::uint32_t value);

    RegistryStatus connect(const std::string& machineName, RegistryKey predefinedKey, RegistryKey& result) override;
    RegistryStatus openKey(RegistryKey parent, const std::string& subKey, std::uint32_t options,
                           std::uint32_t desiredAccess, RegistryKey& result) override;
    RegistryStatus queryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                              std::uint32_t& dataSize) override;
    RegistryStatus closeKey(RegistryKey key) override;

private:
    // Values by folded name.
    using Key = std::map<std::string, Value>;

    RegistryKey newHandle(const std::string& foldedPath);

    std::string m_localComputerName;
    std::map<std::string, Key> m_keys;             // by folded path; "" is the hive's root
    std::map<RegistryKey, std::string> m_handles;  // open handles and the folded path of their key
    RegistryKey m_lastHandle = 0;
};

}  // namespace veltaro
