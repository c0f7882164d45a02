// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "familycode.h"
#include "replacementrandom.h"

namespace veltaro {

class ConfigSpaceLock;
class PortIo;

// The readout's caption for a whole number of degrees Celsius: a blank,
// the degrees and "'C".
std::wstring temperatureCaption(long long celsius);

// One temperature sample per timer tick, turned into the readout's caption.
class TemperatureSampler {
public:
    TemperatureSampler(PortIo& portIo, ConfigSpaceLock& lock);

    // What detection learnt beyond the FamilyCode: the maker and model,
    // which pick the register among a family's, and the offsets. Until it
    // is set, the processor counts as an AMD part of model 0 without offsets.
    void setProcessor(const DetectedFamily& processor) { m_processor = processor; }

    // The caption for this tick: a blank, whole degrees Celsius and "'C".
    // Families 0Fh, 10h and 11h show readings below 40 as a pseudo-random
    // 40 or 41. Empty when nothing was measured: the configuration space
    // was busy, the driver reports the register read as failed, the
    // register reads all ones, or the reading is below zero. No value (and
    // no port access) for a text that is no FamilyCode of a processor in
    // the table: the caption then stays as it is.
    std::optional<std::wstring> sample(const std::wstring& familyCode);

private:
    PortIo& m_portIo;
    ConfigSpaceLock& m_lock;
    DetectedFamily m_processor;
    ReplacementRandom m_random;
};

}  // namespace veltaro
