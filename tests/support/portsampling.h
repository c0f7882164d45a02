// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "familycode.h"
#include "portregistersource.h"
#include "temperaturesampler.h"

namespace veltaro::testing {

// Detection on a port driver, as the program runs it on one.
inline DetectedFamily detectThroughPorts(PortIo& portIo, ConfigSpaceLock& lock, ProcessorIdentity& identity)
{
    PortRegisterSource source(portIo, lock);
    return detectFamily(source, identity);
}

// The timer's sampler on a port driver, as the program builds it for one.
class PortSampler {
public:
    PortSampler(PortIo& portIo, ConfigSpaceLock& lock)
        : m_source(portIo, lock)
        , m_sampler(m_source)
    {
    }

    void setProcessor(const DetectedFamily& processor) { m_sampler.setProcessor(processor); }
    std::optional<std::wstring> sample(const std::wstring& familyCode) { return m_sampler.sample(familyCode); }

private:
    PortRegisterSource m_source;
    TemperatureSampler m_sampler;
};

}  // namespace veltaro::testing
