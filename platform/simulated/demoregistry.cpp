// SPDX-License-Identifier: MIT
#include "demoregistry.h"

#include <string>

namespace veltaro {

DemoRegistry::DemoRegistry(ComputerName& localComputer)
    : InMemoryRegistry(fullComputerName(localComputer))
{
    constexpr int kLogicalProcessors = 4;
    constexpr std::uint32_t kClockMhz = 3000;
    setString("HARDWARE\\DESCRIPTION\\System", "Identifier", "AT/AT COMPATIBLE");
    for (int number = 0; number < kLogicalProcessors; ++number) {
        const std::string key = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\" + std::to_string(number);
        setString(key, "ProcessorNameString", "Simulated AMD Family 10h Processor");
        setString(key, "Identifier", "AMD64 Family 16 Model 4 Stepping 2");
        setString(key, "VendorIdentifier", "AuthenticAMD");
        setDword(key, "~MHz", kClockMhz);
    }
}

}  // namespace veltaro
