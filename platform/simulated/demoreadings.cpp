// SPDX-License-Identifier: MIT
#include "demoreadings.h"

#include <cmath>

namespace veltaro {

namespace {

constexpr unsigned kDemoDies = 2;
// Die 1 runs warmer than the node, die 2 cooler.
constexpr double kDieDifferenceCelsius[kDemoDies] = {2.5, -1.5};

}  // namespace

DemoReadings::DemoReadings(DemoNorthbridge& northbridge)
    : m_northbridge(northbridge)
    , m_registers(northbridge, m_lock)
{
}

std::optional<SourceReading> DemoReadings::readDie(unsigned node, const DieSensor& die)
{
    if (node != 0 || die.number == 0 || die.number > kDemoDies)
        return std::nullopt;
    // As a die sensor holds it: valid, in eighths above -49 degrees.
    const double celsius = DemoNorthbridge::celsiusAt(m_northbridge.elapsed()) + kDieDifferenceCelsius[die.number - 1];
    const auto eighths = static_cast<std::uint32_t>(std::lround((celsius + 49.0) * 8.0));
    return SourceReading::registerValue(kDieTemperatureValidBit | (eighths & kDieTemperatureMask));
}

}  // namespace veltaro
