// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "configspacesource.h"
#include "familycode.h"
#include "temperaturesampler.h"

namespace veltaro::testing {

// Detection through one way to configuration space, as the program runs it.
inline DetectedFamily detectThroughConfigSpace(ConfigSpace& configSpace, ConfigSpaceLock& lock,
                                               ProcessorIdentity& identity)
{
    ConfigSpaceSource source(configSpace, lock);
    return detectFamily(source, identity);
}

// The timer's sampler on one way to configuration space, as the program
// builds it; the caption as a text of its own.
class ConfigSpaceSampler {
public:
    ConfigSpaceSampler(ConfigSpace& configSpace, ConfigSpaceLock& lock)
        : m_source(configSpace, lock)
        , m_sampler(m_source)
    {
    }

    void setProcessor(const DetectedFamily& processor) { m_sampler.setProcessor(processor); }
    std::optional<std::wstring> sample(const std::wstring& familyCode)
    {
        const std::optional<std::wstring_view> caption = m_sampler.sample(familyCode);
        if (!caption)
            return std::nullopt;
        return std::wstring(*caption);
    }

private:
    ConfigSpaceSource m_source;
    TemperatureSampler m_sampler;
};

}  // namespace veltaro::testing
