// SPDX-License-Identifier: MIT
#include "pciconfigread.h"

namespace veltaro {

std::optional<std::uint32_t> readIndexedChecked(PortIo& portIo, const IndexedRegister& pair)
{
    // A failed index write must not be followed by a data read: the data
    // register would answer for whatever index was there before.
    if (!portIo.SetPortVal(kConfigAddressPort, pair.indexAddress, kConfigAccessBytes) ||
        !portIo.SetPortVal(kConfigDataPort, pair.index, kConfigAccessBytes))
        return std::nullopt;
    return readPciConfigChecked(portIo, pair.dataAddress);
}

}  // namespace veltaro
