// SPDX-License-Identifier: MIT
#pragma once

#include <random>

namespace veltaro {

// Values in [0, 1) for the replacement of readings below 40. Never seeded:
// it starts from the same state on every run and every platform, so the
// sequence of 40s and 41s repeats from run to run. minstd_rand is fixed
// bit for bit by the C++ standard, and the scaling below is done by hand
// because the standard distributions differ between libraries.
// NOLINTNEXTLINE(cert-msc32-c,cert-msc51-cpp): the fixed sequence is wanted.
class ReplacementRandom {
public:
    double next();

private:
    std::minstd_rand m_engine;
};

}  // namespace veltaro
