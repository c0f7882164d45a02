// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace veltaro {

class ProcessorIdentity;

// Family 0Fh revision G desktop processors report their thermal field 21
// degrees low: read with the usual offset of 49 they give figures below
// the room's temperature. The kernel's k8temp driver adds the 21 back for
// exactly these parts, and so does this program (family detection gives
// the offset, the sampler adds it).
inline constexpr int kRevisionGOffsetCelsius = 21;

// The degrees to add to the family 0Fh reading of a processor with this
// signature (register 0xFC): kRevisionGOffsetCelsius for a revision G
// desktop part, 0 otherwise. Revision G begins at model 0x69; its mobile
// parts (socket S1g1: models 0x6C, 0x7C, 0xC1) and socket ASB1 parts
// (models 0x6F and 0x7F with brand index 7, 9 or 0xC, model 0x6B with
// 0xB or 0xC) read right. The brand is asked only for those three models.
int revisionGOffsetCelsius(std::uint32_t signature, ProcessorIdentity& brand);

}  // namespace veltaro
