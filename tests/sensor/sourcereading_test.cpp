// SPDX-License-Identifier: MIT
// The one decision: a register value or the kernel's figure, for a family
// row, to the readout's caption, whichever source handed it over.
#include <gtest/gtest.h>

#include "temperaturesampler.h"

namespace veltaro {
namespace {

// Hands over one figure.
class OneFigure final : public ReadingSource {
public:
    explicit OneFigure(SourceReading reading)
        : m_reading(reading)
    {
    }
    bool start() override { return true; }
    std::optional<std::uint32_t> signatureRegister() override { return std::nullopt; }
    std::optional<SourceReading> read(const ProcessorFamily&) override { return m_reading; }

private:
    SourceReading m_reading;
};

constexpr auto kRegister = SourceReading::Kind::RegisterValue;
constexpr auto kKernel = SourceReading::Kind::KernelMillidegrees;
constexpr const wchar_t* kReplaced = L"40 or 41";

struct FigureCase {
    const char* name;
    SourceReading::Kind kind;
    const wchar_t* familyCode;
    unsigned model;
    int revisionGOffsetCelsius;
    int dieOffsetCelsius;
    std::int64_t value;
    const wchar_t* caption;  // L"": no measurement
};

class SourceReadingTest : public ::testing::TestWithParam<FigureCase> {};

TEST_P(SourceReadingTest, GivesTheCaptionWhicheverSourceHandedItOver)
{
    const FigureCase& row = GetParam();
    OneFigure source({row.kind, row.value});
    TemperatureSampler sampler(source);
    sampler.setProcessor(DetectedFamily{row.familyCode, ProcessorVendor::Amd, row.model, row.revisionGOffsetCelsius,
                                        row.dieOffsetCelsius});
    const std::optional<std::wstring> caption = sampler.sample(row.familyCode);
    ASSERT_TRUE(caption);
    if (row.caption == kReplaced)
        EXPECT_TRUE(*caption == L" 40'C" || *caption == L" 41'C") << std::string(caption->begin(), caption->end());
    else
        EXPECT_EQ(*caption, row.caption);
}

// Figures of the published outputs in realdumps-later/ and the register
// dumps of realdumps/, with the edges of each decoding.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Figures, SourceReadingTest,
    ::testing::Values(
        // Family 0Fh: Thermtrip Status bits 23..16 less 49, revision G desktop parts 21 more.
        FigureCase{"f_register", kRegister, L"f", 0x43, 0, 0, 0x0E682420, L" 55'C"},
        FigureCase{"f_register_revision_g", kRegister, L"f", 0x6B, 21, 0, 0x0E532420, L" 55'C"},
        FigureCase{"f_register_below_40", kRegister, L"f", 0x43, 0, 0, 0x0E4A2420, kReplaced},
        FigureCase{"f_register_all_ones", kRegister, L"f", 0x43, 0, 0, 0xFFFFFFFF, L""},
        FigureCase{"f_kernel", kKernel, L"f", 0x43, 0, 0, 55'000, L" 55'C"},
        FigureCase{"f_kernel_revision_g", kKernel, L"f", 0x6B, 21, 0, 55'000, L" 55'C"},
        FigureCase{"f_kernel_revision_g_coldest", kKernel, L"f", 0x6B, 21, 0, -28'000, kReplaced},
        FigureCase{"f_kernel_revision_g_below_the_field", kKernel, L"f", 0x6B, 21, 0, -29'000, L""},
        FigureCase{"f_kernel_hottest", kKernel, L"f", 0x43, 0, 0, 205'000, L" 205'C"},
        FigureCase{"f_kernel_all_ones", kKernel, L"f", 0x43, 0, 0, 206'000, L""},
        FigureCase{"f_kernel_all_ones_revision_g", kKernel, L"f", 0x6B, 21, 0, 227'000, L""},
        // Families 10h and 11h: bits 31..24, whole degrees by the text route.
        FigureCase{"10_register", kRegister, L"10", 4, 0, 0, 0x37000000, L" 55'C"},
        FigureCase{"10_register_eighths_dropped", kRegister, L"10", 4, 0, 0, 0x37E00F11, L" 55'C"},
        FigureCase{"11_register_below_40", kRegister, L"11", 3, 0, 0, 0x27000000, kReplaced},
        FigureCase{"10_kernel", kKernel, L"10", 4, 0, 0, 55'875, L" 55'C"},
        FigureCase{"10_kernel_below_40", kKernel, L"10", 4, 0, 0, 39'999, kReplaced},
        FigureCase{"10_kernel_all_ones_older_kernels", kKernel, L"10", 4, 0, 0, 255'875, L""},
        FigureCase{"10_kernel_all_ones_today", kKernel, L"10", 4, 0, 0, 206'875, L""},
        FigureCase{"10_kernel_below_zero", kKernel, L"10", 4, 0, 0, -1'000, L""},
        // Families 12h to 16h: eighths, 49 less in the upper range (bits 17..16).
        FigureCase{"15_apu_kernel_zero", kKernel, L"15", 0x30, 0, 0, 0, L" 0'C"},
        FigureCase{"15_apu_kernel", kKernel, L"15", 0x30, 0, 0, 11'100, L" 11'C"},
        FigureCase{"15_register_upper_range", kRegister, L"15", 0x02, 0, 0, (488u << 21) | 0x30000, L" 12'C"},
        FigureCase{"16_kernel_just_below_a_degree", kKernel, L"16", 0, 0, 0, 44'999, L" 44'C"},
        FigureCase{"16_register_all_eighths", kRegister, L"16", 0, 0, 0, 0xFFE00000, L" 255'C"},
        FigureCase{"16_register_all_ones", kRegister, L"16", 0, 0, 0, 0xFFFFFFFF, L""},
        // Zen: also 49 less by bit 19, then less the die offset.
        FigureCase{"2950x_register", kRegister, L"17", 0x08, 0, 27, 570u << 21, L" 44'C"},
        FigureCase{"2950x_kernel_tdie", kKernel, L"17", 0x08, 0, 27, 44'200, L" 44'C"},
        FigureCase{"1950x_kernel_4_15_underflow", kKernel, L"17", 0x01, 0, 27, 4'294'948'300, L""},
        FigureCase{"2950x_kernel_all_ones_older", kKernel, L"17", 0x08, 0, 27, 228'875, L""},
        FigureCase{"2950x_kernel_all_ones_today", kKernel, L"17", 0x08, 0, 27, 179'875, L""},
        FigureCase{"zen3_register_range_select", kRegister, L"19", 0x21, 0, 0, (752u << 21) | 0x80000, L" 45'C"},
        FigureCase{"zen3_kernel", kKernel, L"19", 0x21, 0, 0, 27'000, L" 27'C"},
        FigureCase{"zen3_kernel_past_the_register", kKernel, L"19", 0x21, 0, 0, 256'000, L""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
