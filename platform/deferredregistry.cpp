// SPDX-License-Identifier: MIT
#include "deferredregistry.h"

namespace veltaro {

DeferredRegistry::DeferredRegistry(Factory factory)
    : m_factory(std::move(factory))
{
}

RegistryBackend& DeferredRegistry::registry()
{
    if (!m_registry)
        m_registry = m_factory();
    return *m_registry;
}

RegistryStatus DeferredRegistry::connect(const std::string& machineName, RegistryKey predefinedKey, RegistryKey& result)
{
    return registry().connect(machineName, predefinedKey, result);
}

RegistryStatus DeferredRegistry::openKey(RegistryKey parent, const std::string& subKey, std::uint32_t options,
                                         std::uint32_t desiredAccess, RegistryKey& result)
{
    return registry().openKey(parent, subKey, options, desiredAccess, result);
}

RegistryStatus DeferredRegistry::queryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                                            std::uint8_t* data, std::uint32_t& dataSize)
{
    return registry().queryValue(key, valueName, type, data, dataSize);
}

RegistryStatus DeferredRegistry::closeKey(RegistryKey key)
{
    return registry().closeKey(key);
}

}  // namespace veltaro
