// SPDX-License-Identifier: MIT
#include "familycode.h"

#include "hextext.h"
#include "processoridentity.h"
#include "processorsignature.h"
#include "readingsource.h"
#include "revisiongoffset.h"

namespace veltaro {

namespace {

constexpr unsigned kFamily0FhNumber = 0x0F;
// The last family whose northbridge mirrors the signature in register 0xFC.
constexpr unsigned kLastFamilyWithSignatureRegister = 0x16;

DetectedFamily detectedFrom(ProcessorVendor vendor, std::uint32_t signature, ProcessorIdentity& identity,
                            const std::string& brandString)
{
    DetectedFamily detected;
    detected.vendor = vendor;
    const unsigned family = processorFamily(signature);
    detected.familyCode = family == kFamily0FhNumber ? std::wstring(kFamily0Fh) : familyCodeOf(family);
    detected.model = processorModel(signature);
    detected.family0FhOffsetCelsius = revisionGOffsetCelsius(signature, identity);
    detected.dieOffsetCelsius = dieOffsetCelsius(family, brandString);
    return detected;
}

}  // namespace

std::optional<unsigned> familyOfSignatureRegister(std::uint32_t signature)
{
    if (signature == 0)
        return std::nullopt;
    const std::wstring registerText = Hex8(signature);
    const std::wstring prefixed = L"&h" + std::wstring(digitsAt(registerText, 3, 1));
    const unsigned family = static_cast<unsigned>(readDecimal(HexDigitsToDecimal(prefixed)).value_or(0)) + 15;
    if (family > kLastFamilyWithSignatureRegister)
        return std::nullopt;
    return family;
}

std::wstring familyCodeForSignature(std::uint32_t signature)
{
    const unsigned family = familyOfSignatureRegister(signature).value_or(kFamily0FhNumber);
    return family == kFamily0FhNumber ? std::wstring(kFamily0Fh) : familyCodeOf(family);
}

DetectedFamily detectFamily(ReadingSource& source, ProcessorIdentity& identity)
{
    // A processor that the table does not hold by its own signature reads
    // nothing, whatever register 0xFC of the device there holds.
    const std::optional<IdentifiedProcessor> processor = identity.identify();
    if (processor) {
        const ProcessorVendor vendor = vendorOf(processor->vendor);
        if (vendor == ProcessorVendor::Other) {
            DetectedFamily foreign;
            foreign.vendor = vendor;
            return foreign;
        }
        if (findProcessorFamily(vendor, processorFamily(processor->signature), processorModel(processor->signature)) ==
            nullptr)
            return detectedFrom(vendor, processor->signature, identity, processor->brandString);
    }

    const std::uint32_t signature = source.signatureRegister().value_or(0);
    if (const std::optional<unsigned> family = familyOfSignatureRegister(signature)) {
        // The register decides the family by its digit; its model fields
        // are the processor's.
        DetectedFamily detected = detectedFrom(ProcessorVendor::Amd, signature, identity, {});
        detected.familyCode = familyCodeForSignature(signature);
        return detected;
    }
    if (!processor) {
        DetectedFamily early;
        early.familyCode = kFamily0Fh;
        return early;
    }
    return detectedFrom(vendorOf(processor->vendor), processor->signature, identity, processor->brandString);
}

}  // namespace veltaro
