// SPDX-License-Identifier: MIT
#include "familycode.h"

#include "hextext.h"
#include "pciconfigread.h"
#include "revisiongoffset.h"

namespace veltaro {

std::wstring familyCodeForSignature(std::uint32_t signature)
{
    const std::wstring registerText = Hex8(signature);
    const std::wstring prefixed = L"&h" + std::wstring(digitsAt(registerText, 3, 1));
    const int family = readDecimal(HexDigitsToDecimal(prefixed)).value_or(0) + 15;
    switch (family) {
    case 16:
        return kFamily10h;
    case 17:
        return kFamily11h;
    default:
        return kFamily0Fh;
    }
}

DetectedFamily detectFamily(PortIo& portIo, ProcessorBrand& brand)
{
    const std::uint32_t signature = PciConfigRead(portIo, kSignatureRegister);
    return {familyCodeForSignature(signature), revisionGOffsetCelsius(signature, brand)};
}

}  // namespace veltaro
