// SPDX-License-Identifier: MIT
#include "pciconfigread.h"

namespace veltaro {

std::optional<std::uint32_t> readConfigRegister(ConfigSpace& configSpace, std::uint32_t address)
{
    const ConfigAddress decoded = decodeConfigAddress(address);
    return configSpace.read(decoded.function, decoded.registerOffset);
}

std::uint32_t PciConfigRead(ConfigSpace& configSpace, std::uint32_t address)
{
    return readConfigRegister(configSpace, address).value_or(0);
}

std::optional<std::uint32_t> readIndexed(ConfigSpace& configSpace, const IndexedRegister& pair)
{
    // A failed index write must not be followed by a data read: the data
    // register would answer for whatever index was there before.
    const ConfigAddress index = decodeConfigAddress(pair.indexAddress);
    if (!configSpace.write(index.function, index.registerOffset, pair.index))
        return std::nullopt;
    return readConfigRegister(configSpace, pair.dataAddress);
}

}  // namespace veltaro
