#include "computername.h"

namespace veltaro {

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
