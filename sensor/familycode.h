// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace veltaro {

class PortIo;

// The FamilyCode: the processor family in lower-case hexadecimal, which
// decides the thermal register and its scale.
inline constexpr wchar_t kFamily0Fh[] = L"f";
inline constexpr wchar_t kFamily10h[] = L"10";
inline constexpr wchar_t kFamily11h[] = L"11";

// From the signature register (0xFC): digit 3 of its register text is the
// low nibble of the extended family field, and the family is 0Fh plus it.
// Families other than 10h and 11h are treated as 0Fh.
std::wstring familyCodeForSignature(std::uint32_t signature);

// Reads the signature register once. A failed read leaves 0, which gives "f".
std::wstring detectFamilyCode(PortIo& portIo);

}  // namespace veltaro
