// SPDX-License-Identifier: MIT
#include "fallbackportio.h"

namespace veltaro {

FallbackPortIo::FallbackPortIo(std::vector<Way> ways)
    : m_ways(std::move(ways))
{
}

bool FallbackPortIo::InitializeWinIo()
{
    m_started.reset();
    for (const Way& way : m_ways) {
        std::unique_ptr<PortIo> driver = way ? way() : nullptr;
        if (driver && driver->InitializeWinIo()) {
            m_started = std::move(driver);
            return true;
        }
    }
    return false;
}

bool FallbackPortIo::SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes)
{
    return m_started && m_started->SetPortVal(port, value, sizeBytes);
}

bool FallbackPortIo::GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes)
{
    return m_started && m_started->GetPortVal(port, value, sizeBytes);
}

}  // namespace veltaro
