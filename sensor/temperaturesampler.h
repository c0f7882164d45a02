#pragma once

#include <optional>
#include <string>

#include "replacementrandom.h"

namespace veltaro {

class PortIo;

// The readout's caption for a whole number of degrees Celsius: a blank,
// the degrees and "'C".
std::wstring temperatureCaption(long long celsius);

// One temperature sample per timer tick, turned into the readout's caption.
class TemperatureSampler {
public:
    explicit TemperatureSampler(PortIo& portIo);

    // The caption for this tick: a blank, whole degrees Celsius and "'C".
    // Readings below 40 are shown as a pseudo-random 40 or 41. Empty when
    // the driver reports the register read as failed: nothing was measured.
    // No value (and no port access) for a text that is not a FamilyCode:
    // the caption then stays as it is.
    std::optional<std::wstring> sample(const std::wstring& familyCode);

private:
    PortIo& m_portIo;
    ReplacementRandom m_random;
};

}  // namespace veltaro
