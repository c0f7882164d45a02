// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <vector>

#include "configspacesampling.h"
#include "fakeconfigspace.h"
#include "fakeconfigspacelock.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

constexpr std::uint32_t kF3xA4 = 0x8000C3A4;
constexpr std::uint32_t kD0F0xB8 = 0x800000B8;
constexpr std::uint32_t kD0F0xBC = 0x800000BC;
constexpr std::uint32_t kD0F0x60 = 0x80000060;
constexpr std::uint32_t kD0F0x64 = 0x80000064;

// Reported Temperature Control with `eighths` in bits 31..21 and `low`
// in the bits below.
constexpr std::uint32_t reported(std::uint32_t eighths, std::uint32_t low = 0)
{
    return eighths << 21 | low;
}

// A read's value is 0: the fake records only what was written.
using Access = FakeConfigSpace::Call;
using Kind = Access::Kind;
const std::vector<Access> kReadsF3xA4 = {{Kind::Read, kF3xA4, 0}};
const std::vector<Access> kReadsRootComplexPair = {{Kind::Write, kD0F0xB8, 0xD8200CA4}, {Kind::Read, kD0F0xBC, 0}};
const std::vector<Access> kReadsSmnPair = {{Kind::Write, kD0F0x60, 0x00059800}, {Kind::Read, kD0F0x64, 0}};

struct LaterFamilyCase {
    const char* name;
    DetectedFamily processor;
    std::uint32_t dataAddress;  // the register that answers
    std::uint32_t value;
    const std::vector<Access>* calls;
    std::wstring caption;  // empty: no reading
};

class LaterFamilyTest : public ::testing::TestWithParam<LaterFamilyCase> {};

// Each family reads its own register and shows the
// figure as measured: no 40 or 41 in place of low readings.
TEST_P(LaterFamilyTest, ReadsItsRegisterAndShowsTheDegrees)
{
    const LaterFamilyCase& row = GetParam();
    FakeConfigSpace space;
    space.value = 0xDEADBEEF;
    space.registers[row.dataAddress] = row.value;
    FakeConfigSpaceLock lock;
    testing::ConfigSpaceSampler sampler(space, lock);
    sampler.setProcessor(row.processor);

    EXPECT_EQ(sampler.sample(row.processor.familyCode), row.caption);

    ASSERT_EQ(space.calls.size(), row.calls->size());
    for (std::size_t i = 0; i < space.calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(space.calls[i].kind, (*row.calls)[i].kind);
        EXPECT_EQ(space.calls[i].address, (*row.calls)[i].address);
        EXPECT_EQ(space.calls[i].value, (*row.calls)[i].value);
    }
    EXPECT_EQ(lock.acquisitions, 1);
    EXPECT_EQ(lock.releases, 1);
}

DetectedFamily amd(const wchar_t* code, unsigned model = 0, int dieOffsetCelsius = 0)
{
    return {code, ProcessorVendor::Amd, model, 0, dieOffsetCelsius};
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, LaterFamilyTest,
    ::testing::Values(
        LaterFamilyCase{"f12h_52_5", amd(L"12"), kF3xA4, reported(420), &kReadsF3xA4, L" 52'C"},
        LaterFamilyCase{"f14h_other_range_49_less", amd(L"14"), kF3xA4, reported(420, 0x30000), &kReadsF3xA4, L" 3'C"},
        LaterFamilyCase{"f14h_one_range_bit_is_not_the_other_range", amd(L"14"), kF3xA4, reported(420, 0x10000),
                        &kReadsF3xA4, L" 52'C"},
        // 15h and 16h ignore bit 19: it is no range select bit there.
        LaterFamilyCase{"f15h_model_02_below_40_as_measured", amd(L"15", 0x02), kF3xA4, reported(89, 0x80000),
                        &kReadsF3xA4, L" 11'C"},
        LaterFamilyCase{"f15h_model_5f_zero", amd(L"15", 0x5F), kF3xA4, reported(0), &kReadsF3xA4, L" 0'C"},
        LaterFamilyCase{"f15h_model_60_behind_the_root_complex", amd(L"15", 0x60), kD0F0xBC, reported(390),
                        &kReadsRootComplexPair, L" 48'C"},
        LaterFamilyCase{"f15h_model_7f_behind_the_root_complex", amd(L"15", 0x7F), kD0F0xBC, reported(390),
                        &kReadsRootComplexPair, L" 48'C"},
        LaterFamilyCase{"f16h", amd(L"16", 0x30), kF3xA4, reported(400), &kReadsF3xA4, L" 50'C"},
        // Ryzen 5 5600: Tctl 27.0, no offset.
        LaterFamilyCase{"f19h_27", amd(L"19", 0x21), kD0F0x64, reported(216), &kReadsSmnPair, L" 27'C"},
        // Threadripper 2950X: Tctl 71.2 (569 eighths, 71.125), the die 27 less.
        LaterFamilyCase{"f17h_threadripper_die", amd(L"17", 0x08, 27), kD0F0x64, reported(569), &kReadsSmnPair,
                        L" 44'C"},
        LaterFamilyCase{"f17h_range_select_49_less", amd(L"17", 0x71), kD0F0x64, reported(569, 0x80000),
                        &kReadsSmnPair, L" 22'C"},
        LaterFamilyCase{"f17h_die_below_zero_is_no_measurement", amd(L"17", 0x08, 27), kD0F0x64, reported(200),
                        &kReadsSmnPair, L""},
        LaterFamilyCase{"f19h_other_range_below_zero_is_no_measurement", amd(L"19"), kD0F0x64, reported(300, 0x30000),
                        &kReadsSmnPair, L""},
        LaterFamilyCase{"f18h_hygon", DetectedFamily{L"18", ProcessorVendor::Hygon, 0, 0, 0}, kD0F0x64, reported(360),
                        &kReadsSmnPair, L" 45'C"},
        LaterFamilyCase{"f1ah", amd(L"1a", 0x44), kD0F0x64, reported(655), &kReadsSmnPair, L" 81'C"},
        LaterFamilyCase{"f19h_all_ones_is_no_measurement", amd(L"19"), kD0F0x64, 0xFFFFFFFF, &kReadsSmnPair, L""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A model or maker the table does not know gets no reading, not another
// row's: the caption stays as it is and no port is touched.
TEST(LaterFamilyTest, UnknownModelsAndMakersReadNothing)
{
    const DetectedFamily unknown[] = {amd(L"15", 0x80), amd(L"18"), DetectedFamily{L"17", ProcessorVendor::Hygon},
                                      DetectedFamily{L"10", ProcessorVendor::Other}};
    for (const DetectedFamily& processor : unknown) {
        SCOPED_TRACE(std::string(processor.familyCode.begin(), processor.familyCode.end()));
        FakeConfigSpace space;
        FakeConfigSpaceLock lock;
        testing::ConfigSpaceSampler sampler(space, lock);
        sampler.setProcessor(processor);
        EXPECT_EQ(sampler.sample(processor.familyCode), std::nullopt);
        EXPECT_TRUE(space.calls.empty());
        EXPECT_EQ(lock.acquisitions, 0);
    }
}

// Another program holds the configuration space: this tick shows no
// reading and touches no register; the next one, once they are free, reads.
TEST(ConfigSpaceLockTest, ABusyConfigurationSpaceShowsNoReadingUntilItIsFree)
{
    for (const DetectedFamily& processor : {amd(L"10"), amd(L"f"), amd(L"15", 0x60), amd(L"19")}) {
        SCOPED_TRACE(std::string(processor.familyCode.begin(), processor.familyCode.end()));
        FakeConfigSpace space;
        space.value = reported(440);
        FakeConfigSpaceLock lock;
        lock.available = false;
        testing::ConfigSpaceSampler sampler(space, lock);
        sampler.setProcessor(processor);

        EXPECT_EQ(sampler.sample(processor.familyCode), std::wstring());
        EXPECT_TRUE(space.calls.empty());
        EXPECT_EQ(lock.releases, 0);

        lock.available = true;
        const std::optional<std::wstring> caption = sampler.sample(processor.familyCode);
        ASSERT_TRUE(caption);
        EXPECT_FALSE(caption->empty());
        EXPECT_FALSE(lock.held);
    }
}

// The data register must not be read after a failed index write: it would
// answer for whatever index another program left there.
TEST(ConfigSpaceLockTest, AFailedIndexWriteReadsNoData)
{
    FakeConfigSpace space;
    space.writeResult = false;
    FakeConfigSpaceLock lock;
    testing::ConfigSpaceSampler sampler(space, lock);
    sampler.setProcessor(amd(L"19"));

    EXPECT_EQ(sampler.sample(L"19"), std::wstring());
    for (const FakeConfigSpace::Call& call : space.calls)
        EXPECT_NE(call.kind, Kind::Read);
    EXPECT_FALSE(lock.held);
}

}  // namespace
}  // namespace veltaro
