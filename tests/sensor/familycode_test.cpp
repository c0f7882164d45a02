// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "configspacelock.h"
#include "configspacesampling.h"
#include "fakeconfigspace.h"
#include "fakeconfigspacelock.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "processorsignature.h"

namespace veltaro {
namespace {

struct SignatureCase {
    const char* name;
    std::uint32_t signature;
    std::wstring familyCode;
};

class FamilyCodeTest : public ::testing::TestWithParam<SignatureCase> {};

TEST_P(FamilyCodeTest, ComesFromBits23To20OfTheSignature)
{
    EXPECT_EQ(familyCodeForSignature(GetParam().signature), GetParam().familyCode);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Signatures, FamilyCodeTest,
    ::testing::Values(
        SignatureCase{"family0Fh_athlon64", 0x00000F4A, L"f"},
        SignatureCase{"family10h_phenom", 0x00100F42, L"10"},
        SignatureCase{"family11h_turion", 0x00200F31, L"11"},
        SignatureCase{"family12h", 0x00300F10, L"12"},
        SignatureCase{"family16h", 0x00700F01, L"16"},
        SignatureCase{"no_family_13h_in_signatures", 0x00400F00, L"13"},
        SignatureCase{"extended_family_f_treated_as_0Fh", 0x00F00000, L"f"},
        SignatureCase{"zero_read", 0x00000000, L"f"},
        SignatureCase{"all_ones", 0xFFFFFFFF, L"f"},
        // Only bits 23..20 count: the digits around them do not.
        SignatureCase{"neighbours_ignored", 0xFF1FFFFF, L"10"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(DetectFamilyTest, ReadsTheSignatureRegisterUnderTheLock)
{
    FakeConfigSpace space;
    space.value = 0x00100F42;
    FakeProcessorIdentity identity;
    FakeConfigSpaceLock lock;

    const DetectedFamily family = testing::detectThroughConfigSpace(space, lock, identity);

    EXPECT_EQ(family.familyCode, L"10");
    EXPECT_EQ(family.family0FhOffsetCelsius, 0);

    ASSERT_EQ(space.calls.size(), 1u);
    EXPECT_EQ(space.calls[0].address, 0x8000C3FCu);
    EXPECT_EQ(lock.acquisitions, 1);
    EXPECT_FALSE(lock.held);
}

// The same read gives the revision G offset; a failed read, none.
TEST(DetectFamilyTest, GivesTheRevisionGOffsetFromTheSameRead)
{
    FakeConfigSpace space;
    space.value = 0x00060FB2;              // revision G, model 0x6B
    FakeProcessorIdentity identity(0x04);  // socket AM2
    EXPECT_EQ(testing::detectThroughConfigSpace(space, testing::uncontended, identity).family0FhOffsetCelsius, 21);
    EXPECT_EQ(space.calls.size(), 1u);

    space.readResult = false;
    const DetectedFamily failed = testing::detectThroughConfigSpace(space, testing::uncontended, identity);
    EXPECT_EQ(failed.familyCode, L"f");
    EXPECT_EQ(failed.family0FhOffsetCelsius, 0);
}

std::uint32_t signature(unsigned family, unsigned model, unsigned stepping = 0)
{
    return packProcessorSignature(family, model, stepping).value();
}

IdentifiedProcessor amd(unsigned family, unsigned model, std::string brand = {})
{
    return {"AuthenticAMD", signature(family, model), std::move(brand)};
}

struct DetectionCase {
    const char* name;
    std::optional<std::uint32_t> signatureRegister;  // none: the read fails
    std::optional<IdentifiedProcessor> processor;
    std::wstring familyCode;
    ProcessorVendor vendor;
    unsigned model;
    int dieOffsetCelsius;
};

class DetectionTest : public ::testing::TestWithParam<DetectionCase> {};

TEST_P(DetectionTest, TheSignatureRegisterDecidesWhereItHoldsOneAndTheProcessorElsewhere)
{
    const DetectionCase& row = GetParam();
    FakeConfigSpace space;
    space.readResult = row.signatureRegister.has_value();
    space.value = row.signatureRegister.value_or(0);
    FakeProcessorIdentity identity(std::nullopt, row.processor);

    const DetectedFamily family = testing::detectThroughConfigSpace(space, testing::uncontended, identity);

    EXPECT_EQ(family.familyCode, row.familyCode);
    EXPECT_EQ(family.vendor, row.vendor);
    EXPECT_EQ(family.model, row.model);
    EXPECT_EQ(family.dieOffsetCelsius, row.dieOffsetCelsius);
}

const std::optional<IdentifiedProcessor> kZen3 = amd(0x19, 0x21, "AMD Ryzen 9 5900X 12-Core Processor");

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, DetectionTest,
    ::testing::Values(
        // Register 0xFC holds a signature: it decides, whatever the processor says.
        DetectionCase{"register_10h", 0x00100F42, kZen3, L"10", ProcessorVendor::Amd, 0x04, 0},
        DetectionCase{"register_15h_model_02", signature(0x15, 0x02), kZen3, L"15", ProcessorVendor::Amd, 0x02, 0},
        DetectionCase{"register_15h_model_60", signature(0x15, 0x60), kZen3, L"15", ProcessorVendor::Amd, 0x60, 0},
        DetectionCase{"register_16h_model_30", signature(0x16, 0x30), kZen3, L"16", ProcessorVendor::Amd, 0x30, 0},
        // It reads 0 (family 0Fh before revision F, the data fabric of
        // 17h on), does not answer or fails: the processor decides.
        DetectionCase{"zero_early_0Fh", 0, amd(0x0F, 0x2F), L"f", ProcessorVendor::Amd, 0x2F, 0},
        DetectionCase{"zero_cannot_ask_the_processor", 0, std::nullopt, L"f", ProcessorVendor::Amd, 0, 0},
        DetectionCase{"zero_zen3", 0, kZen3, L"19", ProcessorVendor::Amd, 0x21, 0},
        DetectionCase{"zero_threadripper_2950x", 0,
                      amd(0x17, 0x08, "AMD Ryzen Threadripper 2950X 16-Core Processor"), L"17",
                      ProcessorVendor::Amd, 0x08, 27},
        DetectionCase{"zero_ryzen_1800x", 0, amd(0x17, 0x01, "AMD Ryzen 7 1800X Eight-Core Processor"), L"17",
                      ProcessorVendor::Amd, 0x01, 20},
        DetectionCase{"zero_hygon", 0, IdentifiedProcessor{"HygonGenuine", signature(0x18, 0x00), "Hygon C86 7185"},
                      L"18", ProcessorVendor::Hygon, 0x00, 0},
        DetectionCase{"zero_1ah", 0, amd(0x1A, 0x44), L"1a", ProcessorVendor::Amd, 0x44, 0},
        DetectionCase{"failed_read_zen3", std::nullopt, kZen3, L"19", ProcessorVendor::Amd, 0x21, 0},
        DetectionCase{"all_ones_zen3", 0xFFFFFFFF, kZen3, L"19", ProcessorVendor::Amd, 0x21, 0},
        // A Zen signature in register 0xFC is none: that register of the
        // data fabric holds no signature.
        DetectionCase{"register_names_17h", signature(0x17, 0x08), kZen3, L"19", ProcessorVendor::Amd, 0x21, 0},
        // Families the table does not know keep their own code.
        DetectionCase{"zero_unknown_family_1bh", 0, amd(0x1B, 0x00), L"1b", ProcessorVendor::Amd, 0x00, 0},
        DetectionCase{"not_amd", 0, IdentifiedProcessor{"GenuineIntel", signature(0x06, 0x55), "Intel Xeon"}, L"",
                      ProcessorVendor::Other, 0, 0},
        // A processor the table does not hold gets no number, whatever
        // register 0xFC of some other device there says.
        DetectionCase{"register_10h_on_unknown_family_1bh", 0x00100F42, amd(0x1B, 0x00), L"1b",
                      ProcessorVendor::Amd, 0x00, 0},
        DetectionCase{"register_0Fh_on_another_maker", 0x00000001,
                      IdentifiedProcessor{"GenuineIntel", signature(0x06, 0x3A), "Intel Core i7"}, L"",
                      ProcessorVendor::Other, 0, 0},
        DetectionCase{"register_10h_on_hygon_family_10h", 0x00100F42,
                      IdentifiedProcessor{"HygonGenuine", signature(0x10, 0x04), "Hygon"}, L"10",
                      ProcessorVendor::Hygon, 0x04, 0}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// With the configuration space busy at start, the processor's own
// signature decides; no port is touched.
TEST(DetectFamilyTest, BusyPortsAtStartLeaveTheDecisionToTheProcessor)
{
    FakeConfigSpace space;
    space.value = 0x00100F42;
    FakeProcessorIdentity identity(std::nullopt, kZen3);
    FakeConfigSpaceLock lock;
    lock.available = false;

    EXPECT_EQ(testing::detectThroughConfigSpace(space, lock, identity).familyCode, L"19");
    EXPECT_TRUE(space.calls.empty());
}

}  // namespace
}  // namespace veltaro
