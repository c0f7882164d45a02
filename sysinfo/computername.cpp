// SPDX-License-Identifier: MIT
#include "computername.h"

#include <cstring>

namespace veltaro {

bool copyComputerName(const std::string& name, char* buffer, std::uint32_t& size)
{
    const auto needed = static_cast<std::uint32_t>(name.size() + 1);
    if (needed > size) {
        size = needed;
        return false;
    }
    std::memcpy(buffer, name.c_str(), needed);
    size = needed - 1;
    return true;
}

std::string fullComputerName(ComputerName& source)
{
    // The name can change between two calls; a few rounds are enough for
    // anything short of a deliberate race.
    constexpr int kAttempts = 4;
    std::string buffer(16, '\0');
    auto size = static_cast<std::uint32_t>(buffer.size());
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (source.query(buffer.data(), size)) {
            buffer.resize(size);
            return buffer;
        }
        if (size <= buffer.size())
            break;
        buffer.assign(size, '\0');
    }
    return {};
}

}  // namespace veltaro
