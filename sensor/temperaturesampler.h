// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
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

    // Degrees added to every family 0Fh reading: 21 for a revision G
    // desktop part, whose sensor reads that much low; 0 until set.
    void setFamily0FhOffsetCelsius(int celsius) { m_family0FhOffsetCelsius = celsius; }

    // The caption for this tick: a blank, whole degrees Celsius and "'C".
    // Readings below 40 are shown as a pseudo-random 40 or 41. Empty when
    // nothing was measured: the driver reports the register read as failed,
    // or the register reads all ones. No value (and no port access) for a
    // text that is not a FamilyCode: the caption then stays as it is.
    std::optional<std::wstring> sample(const std::wstring& familyCode);

private:
    PortIo& m_portIo;
    int m_family0FhOffsetCelsius = 0;
    ReplacementRandom m_random;
};

}  // namespace veltaro
