// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <limits>

#include "configspacesampling.h"
#include "fakeconfigspace.h"
#include "replacementrandom.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

// A caption that is 40 or 41: the replacement of a low reading.
bool isReplacement(const std::optional<std::wstring>& caption)
{
    return caption == L" 40'C" || caption == L" 41'C";
}

struct ReadingCase {
    const char* name;
    std::wstring familyCode;
    std::uint32_t registerValue;
    std::uint32_t expectedAddress;
    std::wstring caption;  // empty: replaced by 40 or 41
};

class TemperatureReadingTest : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(TemperatureReadingTest, ShowsTheRegisterFieldInDegrees)
{
    const ReadingCase& row = GetParam();
    FakeConfigSpace space;
    space.value = row.registerValue;
    testing::ConfigSpaceSampler sampler(space);

    const std::optional<std::wstring> caption = sampler.sample(row.familyCode);

    if (row.caption.empty())
        EXPECT_TRUE(isReplacement(caption)) << (caption ? std::string(caption->begin(), caption->end()) : "none");
    else
        EXPECT_EQ(caption, row.caption);
    ASSERT_EQ(space.calls.size(), 1u);
    EXPECT_EQ(space.calls[0].address, row.expectedAddress);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, TemperatureReadingTest,
    ::testing::Values(
        // Family 0Fh: register 0xE4, bits 23..16 minus 49.
        ReadingCase{"f_exactly_40_kept", L"f", 0x00590000, 0x8000C3E4, L" 40'C"},
        ReadingCase{"f_39_replaced", L"f", 0x00580000, 0x8000C3E4, L""},
        ReadingCase{"f_73", L"f", 0x007A0000, 0x8000C3E4, L" 73'C"},
        ReadingCase{"f_other_bits_ignored", L"f", 0xFF7AFFFF, 0x8000C3E4, L" 73'C"},
        ReadingCase{"f_top_of_scale", L"f", 0x00FF0000, 0x8000C3E4, L" 206'C"},
        ReadingCase{"f_zero_read_replaced", L"f", 0, 0x8000C3E4, L""},
        // Families 10h and 11h: register 0xA4, bits 31..24, no offset.
        ReadingCase{"f10_55", L"10", 0x37000000, 0x8000C3A4, L" 55'C"},
        ReadingCase{"f11_55", L"11", 0x37000000, 0x8000C3A4, L" 55'C"},
        ReadingCase{"f10_eighths_ignored", L"10", 0x37E00000, 0x8000C3A4, L" 55'C"},
        ReadingCase{"f10_exactly_40_kept", L"10", 0x28000000, 0x8000C3A4, L" 40'C"},
        ReadingCase{"f10_39_replaced", L"10", 0x27FFFFFF, 0x8000C3A4, L""},
        ReadingCase{"f10_three_digits", L"10", 0xFF000000, 0x8000C3A4, L" 255'C"},
        ReadingCase{"f11_zero_read_replaced", L"11", 0, 0x8000C3A4, L""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

class UnknownFamilyCodeTest : public ::testing::TestWithParam<std::wstring> {};

TEST_P(UnknownFamilyCodeTest, LeavesTheCaptionAndReadsNothing)
{
    FakeConfigSpace space;
    space.value = 0x37000000;
    testing::ConfigSpaceSampler sampler(space);

    EXPECT_EQ(sampler.sample(GetParam()), std::nullopt);
    EXPECT_TRUE(space.calls.empty());
}

// The code is compared exactly: case and surrounding blanks count.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Codes, UnknownFamilyCodeTest,
    ::testing::Values(L"", L"F", L"0f", L"13", L"1A", L"18", L" 10", L"10 ", L"f\n"));
// clang-format on

// A failed read, and all ones (what a read that reached no device gives,
// reported as a success), are no measurement.
TEST(TemperatureSamplerTest, NoMeasurementShowsNoReading)
{
    for (const bool readFails : {true, false}) {
        for (const std::wstring code : {L"f", L"10", L"11"}) {
            SCOPED_TRACE(std::string(code.begin(), code.end()) + (readFails ? " failed read" : " all ones"));
            FakeConfigSpace space;
            space.readResult = !readFails;
            space.value = 0xFFFFFFFF;
            testing::ConfigSpaceSampler sampler(space);
            EXPECT_EQ(sampler.sample(code), std::wstring());
        }
    }
}

// The revision G offset set at start-up applies to family 0Fh readings
// only; register 0xE4 holds 0x60 (96) in bits 23..16, 47 degrees by the
// usual rule.
TEST(TemperatureSamplerTest, TheFamily0FhOffsetAddsToFamily0FhReadingsOnly)
{
    FakeConfigSpace space;
    testing::ConfigSpaceSampler sampler(space);
    sampler.setProcessor(DetectedFamily{L"f", ProcessorVendor::Amd, 0, 21, 0});
    space.value = 0x00602410;
    EXPECT_EQ(sampler.sample(L"f"), L" 68'C");
    space.value = 0x37000000;
    EXPECT_EQ(sampler.sample(L"10"), L" 55'C");
}

// The sequence of 40s and 41s is the same on every run and platform.
TEST(TemperatureSamplerTest, ReplacementSequenceRepeatsFromRunToRun)
{
    const std::wstring expected[] = {L" 40'C", L" 40'C", L" 41'C", L" 41'C", L" 41'C",
                                     L" 40'C", L" 41'C", L" 40'C", L" 40'C", L" 41'C"};
    FakeConfigSpace space;
    testing::ConfigSpaceSampler sampler(space);
    for (const std::wstring& caption : expected)
        EXPECT_EQ(sampler.sample(L"10"), caption);
}

// A reading above 40 draws no random value: the replacement sequence goes
// on where it stopped.
TEST(TemperatureSamplerTest, OnlyReplacedReadingsDrawFromTheGenerator)
{
    FakeConfigSpace space;
    testing::ConfigSpaceSampler sampler(space);
    ReplacementRandom reference;

    for (int tick = 0; tick < 20; ++tick) {
        space.value = tick % 3 == 0 ? 0x37000000 : 0;
        const std::optional<std::wstring> caption = sampler.sample(L"10");
        if (tick % 3 == 0) {
            EXPECT_EQ(caption, L" 55'C");
            continue;
        }
        const int expected = 40 + static_cast<int>(2 * reference.next());
        EXPECT_EQ(caption, L" " + std::to_wstring(expected) + L"'C") << "tick " << tick;
    }
}

TEST(TemperatureCaptionTest, WritesTheWholeRangeOfDegrees)
{
    // Growing and shrinking, each into the text kept from the one before.
    const struct {
        long long celsius;
        const wchar_t* caption;
    } rows[] = {
        {40, L" 40'C"},
        {0, L" 0'C"},
        {1000, L" 1000'C"},
        {9, L" 9'C"},
        {-49, L" -49'C"},
        {255, L" 255'C"},
        {std::numeric_limits<long long>::max(), L" 9223372036854775807'C"},
        {std::numeric_limits<long long>::min(), L" -9223372036854775808'C"},
        {999, L" 999'C"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.celsius);
        EXPECT_EQ(temperatureCaption(row.celsius), row.caption);
    }
}

TEST(ReplacementRandomTest, FirstValuesArePinned)
{
    // minstd_rand from its default state: 48271, 182605794, 1291394886, ...
    ReplacementRandom random;
    EXPECT_DOUBLE_EQ(random.next(), 48270.0 / 2147483646.0);
    EXPECT_DOUBLE_EQ(random.next(), 182605793.0 / 2147483646.0);
    EXPECT_DOUBLE_EQ(random.next(), 1291394885.0 / 2147483646.0);
}

TEST(ReplacementRandomTest, StaysInTheHalfOpenUnitInterval)
{
    ReplacementRandom random;
    for (int i = 0; i < 100000; ++i) {
        const double r = random.next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

}  // namespace
}  // namespace veltaro
