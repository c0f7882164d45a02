// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace veltaro {

// The processor signature of CPUID function 1 (EAX), which register 0xFC of
// the northbridge function mirrors on families 0Fh to 11h (and which reads 0
// on family 0Fh before revision F):
//   bits 27..20 extended family, 19..16 extended model,
//   bits 11..8 base family, 7..4 base model, 3..0 stepping.
// The family is the base family, plus the extended family when the base
// family is 0xF; the model is the base model, plus the extended model times
// 16 from base family 6 on. The other bits are 0.

// Empty when the figures cannot be written in those fields.
std::optional<std::uint32_t> packProcessorSignature(unsigned family, unsigned model, unsigned stepping);

unsigned processorFamily(std::uint32_t signature);
unsigned processorModel(std::uint32_t signature);

}  // namespace veltaro
