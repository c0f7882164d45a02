// SPDX-License-Identifier: MIT
#include "inmemoryregistry.h"

#include <algorithm>
#include <cstring>

namespace veltaro {

namespace {

std::string folded(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return result;
}

std::string joined(const std::string& parent, const std::string& child)
{
    if (parent.empty())
        return child;
    if (child.empty())
        return parent;
    return parent + '\\' + child;
}

}  // namespace

InMemoryRegistry::InMemoryRegistry(std::string localComputerName)
    : m_localComputerName(std::move(localComputerName))
{
    m_keys.emplace("", Key{});
}

void InMemoryRegistry::createKey(std::string_view path)
{
    const std::string foldedPath = folded(path);
    for (std::size_t end = 0; end != std::string::npos;) {
        end = foldedPath.find('\\', end + 1);
        m_keys.try_emplace(foldedPath.substr(0, end));
    }
}

void InMemoryRegistry::setValue(std::string_view keyPath, std::string_view valueName, Value value)
{
    createKey(keyPath);
    m_keys[folded(keyPath)][folded(valueName)] = std::move(value);
}

void InMemoryRegistry::setString(std::string_view keyPath, std::string_view valueName, std::string_view text)
{
    Value value{kRegSz, std::vector<std::uint8_t>(text.begin(), text.end())};
    value.data.push_back(0);
    setValue(keyPath, valueName, std::move(value));
}

void InMemoryRegistry::setDword(std::string_view keyPath, std::string_view valueName, std::uint32_t value)
{
    std::vector<std::uint8_t> bytes(4);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    setValue(keyPath, valueName, {kRegDword, std::move(bytes)});
}

RegistryStatus InMemoryRegistry::connect(const std::string& machineName, RegistryKey predefinedKey, RegistryKey& result)
{
    result = kNoRegistryKey;
    if (predefinedKey != kHKeyLocalMachine)
        return kRegistryInvalidHandle;
    // There is no remote registry: any other computer is unreachable.
    if (folded(machineName) != folded(m_localComputerName))
        return kRegistryBadNetPath;
    result = newHandle("");
    return kRegistrySuccess;
}

RegistryStatus InMemoryRegistry::openKey(RegistryKey parent, const std::string& subKey, std::uint32_t /*options*/,
                                         std::uint32_t /*desiredAccess*/, RegistryKey& result)
{
    result = kNoRegistryKey;
    const auto parentHandle = m_handles.find(parent);
    if (parentHandle == m_handles.end())
        return kRegistryInvalidHandle;
    const std::string path = joined(parentHandle->second, folded(subKey));
    if (!m_keys.contains(path))
        return kRegistryFileNotFound;
    result = newHandle(path);
    return kRegistrySuccess;
}

RegistryStatus InMemoryRegistry::queryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type,
                                            std::uint8_t* data, std::uint32_t& dataSize)
{
    const auto handle = m_handles.find(key);
    if (handle == m_handles.end())
        return kRegistryInvalidHandle;
    const Key& values = m_keys.at(handle->second);
    const auto found = values.find(folded(valueName));
    if (found == values.end())
        return kRegistryFileNotFound;

    const Value& value = found->second;
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    type = value.type;
    const std::uint32_t capacity = dataSize;
    dataSize = needed;
    if (data == nullptr)
        return kRegistrySuccess;
    if (needed > capacity)
        return kRegistryMoreData;
    if (needed > 0)
        std::memcpy(data, value.data.data(), needed);
    return kRegistrySuccess;
}

RegistryStatus InMemoryRegistry::closeKey(RegistryKey key)
{
    return m_handles.erase(key) == 1 ? kRegistrySuccess : kRegistryInvalidHandle;
}

RegistryKey InMemoryRegistry::newHandle(const std::string& foldedPath)
{
    // Handles are never reused, so a stale one cannot reach another key.
    m_lastHandle += 4;
    m_handles.emplace(m_lastHandle, foldedPath);
    return m_lastHandle;
}

}  // namespace veltaro
