// SPDX-License-Identifier: MIT
#include "demonorthbridge.h"

#include <cmath>
#include <numbers>

namespace veltaro {

namespace {

constexpr std::uint8_t kSignatureOffset = 0xFC;
constexpr std::uint8_t kThermalOffset = 0xA4;

// Extended family 1 (family 10h), model 4, stepping 2.
constexpr std::uint32_t kFamily10hSignature = 0x0010'0F42;

// The second node runs this much cooler, in eighths of a degree.
constexpr std::uint32_t kSecondNodeCoolerEighths = 3 * 8;
// Register 0 of a present function: AMD's vendor ID and family 10h's
// miscellaneous control device.
constexpr std::uint32_t kFunctionId = 0x1203'1022;

}  // namespace

DemoNorthbridge::DemoNorthbridge()
{
    setRegister(0x00, kFunctionId);
    setRegister(kSignatureOffset, kFamily10hSignature);
    setRegister(kThermalOffset, thermalRegisterAt(Clock::duration::zero()));
    setNodeRegister(1, 0x00, kFunctionId);
    setNodeRegister(1, kThermalOffset, thermalRegisterAt(Clock::duration::zero()) - (kSecondNodeCoolerEighths << 21));
}

double DemoNorthbridge::celsiusAt(Clock::duration elapsed)
{
    // Two slow waves of unrelated periods, so the walk does not look
    // periodic over a few minutes; together they span 35 to 65 degrees.
    const double seconds = std::chrono::duration<double>(elapsed).count();
    constexpr double kTwoPi = 2 * std::numbers::pi;
    return 50.0 + 11.0 * std::sin(kTwoPi * seconds / 97.0 - 0.4) + 4.0 * std::sin(kTwoPi * seconds / 23.0);
}

std::uint32_t DemoNorthbridge::thermalRegisterAt(Clock::duration elapsed)
{
    const double celsius = celsiusAt(elapsed);
    // Bits 31..21 hold the reading in eighths of a degree.
    const auto eighths = static_cast<std::uint32_t>(std::lround(celsius * 8.0));
    return eighths << 21;
}

void DemoNorthbridge::beforeRead(std::uint8_t offset)
{
    if (offset == kThermalOffset) {
        const std::uint32_t thermal = thermalRegisterAt(Clock::now() - m_start);
        setRegister(kThermalOffset, thermal);
        setNodeRegister(1, kThermalOffset, thermal - (kSecondNodeCoolerEighths << 21));
    }
}

}  // namespace veltaro
