// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>

#include "registrybackend.h"

namespace veltaro {

// A registry that is built only when it is first used. The program reads
// the registry once, in the last stage of start-up; building it earlier
// (the Linux stand-in reads and parses the whole processor description)
// costs every start, even those that end at the driver message.
class DeferredRegistry final : public RegistryBackend {
public:
    using Factory = std::function<std::unique_ptr<RegistryBackend>()>;

    explicit DeferredRegistry(Factory factory);

    RegistryStatus connect(const std::string& machineName, RegistryKey predefinedKey, RegistryKey& result) override;
    RegistryStatus openKey(RegistryKey parent, const std::string& subKey, std::uint32_t options,
                           std::uint32_t desiredAccess, RegistryKey& result) override;
    RegistryStatus queryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                              std::uint32_t& dataSize) override;
    RegistryStatus closeKey(RegistryKey key) override;

private:
    RegistryBackend& registry();

    Factory m_factory;
    std::unique_ptr<RegistryBackend> m_registry;
};

}  // namespace veltaro
