// SPDX-License-Identifier: MIT
#include "winioconfigspace.h"

namespace veltaro {

bool WinIoConfigSpace::start()
{
    return m_ports.InitializeWinIo();
}

std::optional<std::uint32_t> WinIoConfigSpace::read(const PciFunctionAddress& function, std::uint8_t offset)
{
    std::uint32_t value = 0;
    const bool addressWritten =
        m_ports.SetPortVal(kConfigAddressPort, configAddressOf(function, offset), kConfigAccessBytes);
    const bool dataRead = m_ports.GetPortVal(kConfigDataPort, value, kConfigAccessBytes);
    if (!addressWritten || !dataRead)
        return std::nullopt;
    return value;
}

bool WinIoConfigSpace::write(const PciFunctionAddress& function, std::uint8_t offset, std::uint32_t value)
{
    return m_ports.SetPortVal(kConfigAddressPort, configAddressOf(function, offset), kConfigAccessBytes) &&
           m_ports.SetPortVal(kConfigDataPort, value, kConfigAccessBytes);
}

}  // namespace veltaro
