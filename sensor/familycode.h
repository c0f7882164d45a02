// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace veltaro {

class PortIo;
class ProcessorBrand;

// The FamilyCode: the processor family in lower-case hexadecimal, which
// decides the thermal register and its scale.
inline constexpr wchar_t kFamily0Fh[] = L"f";
inline constexpr wchar_t kFamily10h[] = L"10";
inline constexpr wchar_t kFamily11h[] = L"11";

// From the signature register (0xFC): digit 3 of its register text is the
// low nibble of the extended family field, and the family is 0Fh plus it.
// Families other than 10h and 11h are treated as 0Fh.
std::wstring familyCodeForSignature(std::uint32_t signature);

// What start-up learns from its one read of the signature register: the
// FamilyCode, and the degrees to add to family 0Fh readings (21 on a
// revision G desktop part, else 0). A failed read leaves 0, which gives
// "f" and no offset.
struct DetectedFamily {
    std::wstring familyCode;
    int family0FhOffsetCelsius = 0;
};

DetectedFamily detectFamily(PortIo& portIo, ProcessorBrand& brand);

}  // namespace veltaro
