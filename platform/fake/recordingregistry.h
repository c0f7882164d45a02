// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "registrybackend.h"

namespace veltaro {

// Passes every call on to another registry and records it. Each kind of
// call can be told to fail with a given status instead.
class RecordingRegistry final : public RegistryBackend {
public:
    struct Call {
        enum class Kind { Connect, Open, Query, Close } kind;
        RegistryKey key = kNoRegistryKey;  // the predefined, parent, queried or closed key
        std::string text;                  // machine name, sub-key or value name
        std::uint32_t options = 0;
        std::uint32_t access = 0;
        std::uint32_t dataSizeGiven = 0;
        bool bufferZeroed = false;  // every byte of the given buffer was 0
        RegistryStatus status = kRegistrySuccess;
    };

    explicit RecordingRegistry(RegistryBackend& inner)
        : m_inner(inner)
    {
    }

    std::optional<RegistryStatus> connectFailure;
    std::optional<RegistryStatus> openFailure;
    std::optional<RegistryStatus> queryFailure;

    std::vector<Call> calls;
    // Sub-keys opened and not yet closed.
    std::set<RegistryKey> openSubKeys;

    RegistryStatus connect(const std::string& machineName, RegistryKey predefinedKey, RegistryKey& result) override
    {
        RegistryStatus status = connectFailure.value_or(kRegistrySuccess);
        if (connectFailure)
            result = kNoRegistryKey;
        else
            status = m_inner.connect(machineName, predefinedKey, result);
        calls.push_back({Call::Kind::Connect, predefinedKey, machineName, 0, 0, 0, false, status});
        return status;
    }

    RegistryStatus openKey(RegistryKey parent, const std::string& subKey, std::uint32_t options,
                           std::uint32_t desiredAccess, RegistryKey& result) override
    {
        RegistryStatus status = openFailure.value_or(kRegistrySuccess);
        if (openFailure)
            result = kNoRegistryKey;
        else
            status = m_inner.openKey(parent, subKey, options, desiredAccess, result);
        if (status == kRegistrySuccess)
            openSubKeys.insert(result);
        calls.push_back({Call::Kind::Open, parent, subKey, options, desiredAccess, 0, false, status});
        return status;
    }

    RegistryStatus queryValue(RegistryKey key, const std::string& valueName, std::uint32_t& type, std::uint8_t* data,
                              std::uint32_t& dataSize) override
    {
        const std::uint32_t sizeGiven = dataSize;
        const bool zeroed =
            data != nullptr && std::all_of(data, data + sizeGiven, [](std::uint8_t b) { return b == 0; });
        const RegistryStatus status =
            queryFailure ? *queryFailure : m_inner.queryValue(key, valueName, type, data, dataSize);
        calls.push_back({Call::Kind::Query, key, valueName, 0, 0, sizeGiven, zeroed, status});
        return status;
    }

    RegistryStatus closeKey(RegistryKey key) override
    {
        const RegistryStatus status = m_inner.closeKey(key);
        openSubKeys.erase(key);
        calls.push_back({Call::Kind::Close, key, {}, 0, 0, 0, false, status});
        return status;
    }

    std::size_t count(Call::Kind kind) const
    {
        return static_cast<std::size_t>(
            std::count_if(calls.begin(), calls.end(), [kind](const Call& call) { return call.kind == kind; }));
    }

private:
    RegistryBackend& m_inner;
};

}  // namespace veltaro
