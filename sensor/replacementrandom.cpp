// SPDX-License-Identifier: MIT
#include "replacementrandom.h"

namespace veltaro {

double ReplacementRandom::next()
{
    // The engine yields 1 .. modulus - 1; shift to 0 .. modulus - 2.
    constexpr double kSpan = static_cast<double>(std::minstd_rand::modulus - 1);
    return static_cast<double>(m_engine() - 1) / kSpan;
}

}  // namespace veltaro
