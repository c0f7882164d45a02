// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "configspacelock.h"
#include "fakeportio.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"

namespace veltaro {
namespace {

// Nothing else uses the configuration ports here.
UncontendedConfigSpace uncontended;

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

TEST(DetectFamilyTest, ReadsTheSignatureRegisterThroughTheConfigurationPorts)
{
    FakePortIo ports;
    ports.dataPortValue = 0x00100F42;
    FakeProcessorIdentity brand;

    const DetectedFamily family = detectFamily(ports, uncontended, brand);

    EXPECT_EQ(family.familyCode, L"10");
    EXPECT_EQ(family.family0FhOffsetCelsius, 0);

    ASSERT_EQ(ports.calls.size(), 2u);
    EXPECT_EQ(ports.calls[0].kind, FakePortIo::Call::Kind::Set);
    EXPECT_EQ(ports.calls[0].port, 0x0CF8);
    EXPECT_EQ(ports.calls[0].value, 0x8000C3FCu);
    EXPECT_EQ(ports.calls[0].sizeBytes, 4);
    EXPECT_EQ(ports.calls[1].kind, FakePortIo::Call::Kind::Get);
    EXPECT_EQ(ports.calls[1].port, 0x0CFC);
    EXPECT_EQ(ports.calls[1].sizeBytes, 4);
}

// The same read gives the revision G offset; a failed read, none.
TEST(DetectFamilyTest, GivesTheRevisionGOffsetFromTheSameRead)
{
    FakePortIo ports;
    ports.dataPortValue = 0x00060FB2;  // revision G, model 0x6B
    FakeProcessorIdentity brand(0x04);    // socket AM2
    EXPECT_EQ(detectFamily(ports, uncontended, brand).family0FhOffsetCelsius, 21);
    EXPECT_EQ(ports.calls.size(), 2u);

    ports.getResult = false;
    const DetectedFamily failed = detectFamily(ports, uncontended, brand);
    EXPECT_EQ(failed.familyCode, L"f");
    EXPECT_EQ(failed.family0FhOffsetCelsius, 0);
}

}  // namespace
}  // namespace veltaro
