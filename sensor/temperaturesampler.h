// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "processorbrand.h"
#include "replacementrandom.h"

namespace veltaro {

class PortIo;

// The readout's caption for a whole number of degrees Celsius: a blank,
// the degrees and "'C".
std::wstring temperatureCaption(long long celsius);

// One temperature sample per timer tick, turned into the readout's caption.
class TemperatureSampler {
public:
    // Asks the processor this program runs on for its brand index.
    explicit TemperatureSampler(PortIo& portIo);
    TemperatureSampler(PortIo& portIo, ProcessorBrand& brand);

    // The caption for this tick: a blank, whole degrees Celsius and "'C".
    // Readings below 40 are shown as a pseudo-random 40 or 41. Empty when
    // nothing was measured: the driver reports the register read as failed,
    // or the register reads all ones. No value (and no port access) for a
    // text that is not a FamilyCode: the caption then stays as it is.
    //
    // Family 0Fh revision G desktop parts get their offset of 21 degrees
    // back; the first family 0Fh sample reads the signature register for
    // that (again at the next sample, with no reading, if it fails).
    std::optional<std::wstring> sample(const std::wstring& familyCode);

private:
    std::optional<std::uint32_t> readMeasurement(std::uint32_t address);
    std::optional<int> family0FhOffsetCelsius();

    PortIo& m_portIo;
    std::unique_ptr<ProcessorBrand> m_systemBrand;
    ProcessorBrand& m_brand;
    std::optional<int> m_family0FhOffsetCelsius;
    ReplacementRandom m_random;
};

}  // namespace veltaro
