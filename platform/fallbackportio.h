// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "portio.h"

namespace veltaro {

// Several ways to the registers, tried in order at start: the first driver
// that starts is kept and answers every port call from then on. Each way is
// made only when the ways before it have failed, so that a way with a cost
// (a password prompt) is not even prepared when an earlier one works.
class FallbackPortIo final : public PortIo {
public:
    using Way = std::function<std::unique_ptr<PortIo>()>;

    explicit FallbackPortIo(std::vector<Way> ways);

    // True when one of the ways started. Each call tries them afresh.
    bool InitializeWinIo() override;
    // Refused (false) until a way has started.
    bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes) override;
    bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes) override;

private:
    std::vector<Way> m_ways;
    std::unique_ptr<PortIo> m_started;
};

}  // namespace veltaro
