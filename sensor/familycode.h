// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "processorfamilies.h"

namespace veltaro {

class ProcessorIdentity;
class ReadingSource;

// The FamilyCode of family 0Fh, the one that is not its number.
inline constexpr wchar_t kFamily0Fh[] = L"f";

// The family that the signature register (0xFC) names, or none when it
// holds no signature. Digit 3 of its register text is the low nibble of the
// extended family field, and the family is 0Fh plus it; the register holds
// a signature on family 0Fh from revision F and on families 10h to 16h, and
// reads 0 elsewhere.
std::optional<unsigned> familyOfSignatureRegister(std::uint32_t signature);

// The FamilyCode for that register, for a register that holds a signature;
// "f" for one that does not.
std::wstring familyCodeForSignature(std::uint32_t signature);

// What start-up learns of the processor: its FamilyCode and what the tick
// needs besides to find and decode its reading.
struct DetectedFamily {
    std::wstring familyCode;
    ProcessorVendor vendor = ProcessorVendor::Amd;
    unsigned model = 0;
    // Degrees to add to family 0Fh readings: 21 on a revision G desktop
    // part, else 0.
    int family0FhOffsetCelsius = 0;
    // Degrees the control reading of some family 17h parts lies above the die's.
    int dieOffsetCelsius = 0;
};

// The processor's own signature first: a maker other than AMD or Hygon
// gets no FamilyCode at all, and a family or model the table does not
// hold keeps its own code, which reads nothing. For the others, and for a
// processor that cannot be asked, one read of the signature register
// decides where it holds a signature. Where it does not (it reads 0, does
// not answer, or the source has no such register), the processor's
// signature decides; a processor that cannot be asked is an early family
// 0Fh part and gets "f".
DetectedFamily detectFamily(ReadingSource& source, ProcessorIdentity& identity);

}  // namespace veltaro
