// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

#include "configspacelock.h"
#include "configspacesource.h"
#include "familycode.h"
#include "temperaturesampler.h"

namespace veltaro::testing {

// For tests where nothing else uses configuration space.
inline UncontendedConfigSpaceLock uncontended;

// Detection on one way to configuration space, as the program runs it.
inline DetectedFamily detectThroughConfigSpace(ConfigSpace& space, ConfigSpaceLock& lock, ProcessorIdentity& identity)
{
    ConfigSpaceSource source(space, lock);
    return detectFamily(source, identity);
}

// The timer's sampler on one such way, as the program builds it; its captions copied.
class ConfigSpaceSampler {
public:
    explicit ConfigSpaceSampler(ConfigSpace& space, ConfigSpaceLock& lock = uncontended)
        : m_source(space, lock)
    {
    }

    void setProcessor(const DetectedFamily& processor) { m_sampler.setProcessor(processor); }
    auto sample(const std::wstring& code) { return std::optional<std::wstring>(m_sampler.sample(code)); }

private:
    ConfigSpaceSource m_source;
    TemperatureSampler m_sampler{m_source};
};

}  // namespace veltaro::testing
