// SPDX-License-Identifier: MIT
// The one decision: a register value or the kernel's figure, for a family
// row, to the readout's caption, whichever source handed it over; and the
// readout's details.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "readoutdetails.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

// Hands over what the test put in, by node and die.
class ScriptedSource final : public ReadingSource {
public:
    std::map<unsigned, std::optional<SourceReading>> nodes;
    std::map<std::pair<unsigned, unsigned>, SourceReading> dies;  // (node, die number)
    // Told of each node's and die's read: (node, die number, or 0 for the node's own).
    std::function<void(unsigned, unsigned)> onRead = [](unsigned, unsigned) {};

    bool start() override { return true; }
    std::optional<std::uint32_t> signatureRegister() override { return std::nullopt; }
    std::optional<SourceReading> read(const ProcessorFamily& row) override { return readNode(row, 0); }
    unsigned nodeCount(const ProcessorFamily&) override { return static_cast<unsigned>(nodes.size()); }
    std::optional<SourceReading> readNode(const ProcessorFamily&, unsigned node) override
    {
        onRead(node, 0);
        return nodes.count(node) != 0 ? nodes[node] : std::nullopt;
    }
    std::optional<SourceReading> readDie(unsigned node, const DieSensor& die) override
    {
        onRead(node, die.number);
        const auto found = dies.find({node, die.number});
        return found == dies.end() ? std::nullopt : std::optional<SourceReading>(found->second);
    }
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
    ScriptedSource source;
    source.nodes[0] = SourceReading{row.kind, row.value};
    TemperatureSampler sampler(source);
    sampler.setProcessor(DetectedFamily{row.familyCode, ProcessorVendor::Amd, row.model, row.revisionGOffsetCelsius,
                                        row.dieOffsetCelsius});
    const std::optional<std::wstring_view> caption = sampler.sample(row.familyCode);
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
        FigureCase{"f_register_revision_g", kRegister, L"f", 0x6B, 21, 0, 0x0E532420, L" 55'C"},
        FigureCase{"f_register_below_40", kRegister, L"f", 0x43, 0, 0, 0x0E4A2420, kReplaced},
        FigureCase{"f_register_all_ones", kRegister, L"f", 0x43, 0, 0, 0xFFFFFFFF, L""},
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
        FigureCase{"15_register_upper_range", kRegister, L"15", 0x02, 0, 0, (488u << 21) | 0x30000, L" 12'C"},
        FigureCase{"16_register_all_eighths", kRegister, L"16", 0, 0, 0, 0xFFE00000, L" 255'C"},
        FigureCase{"16_register_all_ones", kRegister, L"16", 0, 0, 0, 0xFFFFFFFF, L""},
        // Zen: also 49 less by bit 19, then less the die offset.
        FigureCase{"2950x_register", kRegister, L"17", 0x08, 0, 27, 570u << 21, L" 44'C"},
        FigureCase{"2950x_kernel_tdie", kKernel, L"17", 0x08, 0, 27, 44'200, L" 44'C"},
        FigureCase{"1950x_kernel_4_15_underflow", kKernel, L"17", 0x01, 0, 27, 4'294'948'300, L""},
        FigureCase{"2950x_kernel_all_ones_older", kKernel, L"17", 0x08, 0, 27, 228'875, L""},
        FigureCase{"2950x_kernel_all_ones_today", kKernel, L"17", 0x08, 0, 27, 179'875, L""},
        FigureCase{"zen3_register_range_select", kRegister, L"19", 0x21, 0, 0, (752u << 21) | 0x80000, L" 45'C"},
        FigureCase{"zen3_kernel_past_the_register", kKernel, L"19", 0x21, 0, 0, 256'000, L""}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Reported Temperature Control holding whole degrees.
SourceReading degrees(unsigned celsius)
{
    return SourceReading::registerValue((celsius * 8) << 21);
}

DetectedFamily family(const wchar_t* code, unsigned model = 0)
{
    DetectedFamily detected;
    detected.familyCode = code;
    detected.model = model;
    return detected;
}

// The highest follows measurements only: a failed read leaves it, and on
// families 0Fh to 11h a reading below 40, shown as 40 or 41, counts as
// measured.
TEST(ReadoutDetailsTest, HighestSinceStartCountsOnlyMeasurements)
{
    struct Step {
        std::optional<SourceReading> reading;
        const wchar_t* highest;
    };
    const Step steps[] = {
        {std::nullopt, L"Highest since start: -"},
        {degrees(35), L"Highest since start: 35'C"},
        {degrees(52), L"Highest since start: 52'C"},
        {std::nullopt, L"Highest since start: 52'C"},
        {degrees(61), L"Highest since start: 61'C"},
        {SourceReading::registerValue(0xFFFF'FFFF), L"Highest since start: 61'C"},
    };
    ScriptedSource source;
    TemperatureSampler sampler(source);
    sampler.setProcessor(family(L"10"));
    ReadoutDetails details(source);
    for (const Step& step : steps) {
        source.nodes[0] = step.reading;
        const std::optional<std::wstring_view> caption = sampler.sample(L"10");
        const std::wstring text = details.text(sampler);
        SCOPED_TRACE(std::string(caption->begin(), caption->end()));
        EXPECT_EQ(text.substr(text.rfind(L'\n') + 1), step.highest);
    }
}

// Every node and each die that has measured, one a line; a node or die
// without a measurement this time shows "-".
TEST(ReadoutDetailsTest, ListsEveryNodeAndTheDiesThatMeasure)
{
    ScriptedSource source;
    source.nodes = {{0, degrees(52)}, {1, std::nullopt}};
    source.dies = {{{0, 1}, SourceReading::registerValue(0x800 | 776)},  // 48'C
                   {{0, 2}, SourceReading::kernelMillidegrees(50'125)},
                   {{0, 3}, SourceReading::registerValue(776)}};  // valid bit clear: no such die
    TemperatureSampler sampler(source);
    sampler.setProcessor(family(L"19", 0x21));
    sampler.sample(L"19");
    ReadoutDetails details(source);
    EXPECT_EQ(details.text(sampler),
              L"Node 0: 52'C\n  CCD 1: 48'C\n  CCD 2: 50'C\nNode 1: -\nHighest since start: 52'C");

    // A die once seen stays listed, with "-" while it measures nothing.
    source.dies.erase({0, 2});
    source.nodes[1] = degrees(49);
    sampler.sample(L"19");
    EXPECT_EQ(details.text(sampler),
              L"Node 0: 52'C\n  CCD 1: 48'C\n  CCD 2: -\nNode 1: 49'C\nHighest since start: 52'C");
}

// Once one call took longer than 50 ms the reads stop; the next text reads
// on from there, and what was not read keeps its last figure.
TEST(ReadoutDetailsTest, AfterASlowCallTheReadsStopAndTheNextTextReadsOn)
{
    ScriptedSource source;
    source.nodes = {{0, degrees(52)}, {1, degrees(49)}};
    source.dies = {{{0, 2}, SourceReading::kernelMillidegrees(50'000)}};
    TemperatureSampler sampler(source);
    sampler.setProcessor(family(L"19", 0x21));
    sampler.sample(L"19");
    std::chrono::steady_clock::time_point now;
    std::vector<std::pair<unsigned, unsigned>> reads;
    source.onRead = [&](unsigned node, unsigned die) {
        reads.emplace_back(node, die);
        now += std::chrono::milliseconds(node == 0 && die == 2 ? 51 : 50);
    };
    ReadoutDetails details(source);
    CallBudget budget([&] { return now; });
    EXPECT_EQ(details.text(sampler, &budget), L"Node 0: 52'C\n  CCD 2: 50'C\nNode 1: -\nHighest since start: 52'C");
    EXPECT_EQ(reads.size(), 2u);
    budget.renew();
    EXPECT_EQ(details.text(sampler, &budget), L"Node 0: 52'C\n  CCD 2: 50'C\nNode 1: 49'C\nHighest since start: 52'C");
    EXPECT_EQ(reads.at(2), std::make_pair(0u, 3u));
    EXPECT_EQ(reads.size(), 2u + 2 * 17 - 1);
}

struct DieLayoutCase {
    const char* name;
    unsigned family;
    unsigned model;
    std::uint32_t firstDie;  // SMN address of die 1; 0: no die sensors
    std::uint32_t lastDie;
    unsigned count;
};

class DieLayoutTest : public ::testing::TestWithParam<DieLayoutCase> {};

// k10temp's layouts: base 0x59800, the model's offset, 4 bytes a die.
TEST_P(DieLayoutTest, PlacesTheDieSensorsAsTheKernelDoes)
{
    const DieLayoutCase& row = GetParam();
    const ProcessorVendor vendor = row.family == 0x18 ? ProcessorVendor::Hygon : ProcessorVendor::Amd;
    const ProcessorFamily* family = findProcessorFamily(vendor, row.family, row.model);
    ASSERT_NE(family, nullptr);
    const DieSensorLayout layout = dieSensorsOf(*family, row.model);
    EXPECT_EQ(layout.count, row.count);
    if (row.count != 0) {
        EXPECT_EQ(dieTemperatureAddress(layout, 0), row.firstDie);
        EXPECT_EQ(dieTemperatureAddress(layout, layout.count - 1), row.lastDie);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Models, DieLayoutTest,
    ::testing::Values(
        DieLayoutCase{"zen_1800x", 0x17, 0x01, 0x59954, 0x59960, 4},
        DieLayoutCase{"zen2_3950x", 0x17, 0x71, 0x59954, 0x59970, 8},
        DieLayoutCase{"zen2_model_a0h", 0x17, 0xA0, 0x59B00, 0x59B1C, 8},
        DieLayoutCase{"zen2_model_90h_none", 0x17, 0x90, 0, 0, 0},
        DieLayoutCase{"hygon_model_1", 0x18, 0x01, 0x59954, 0x59960, 4},
        DieLayoutCase{"zen3_5600", 0x19, 0x21, 0x59954, 0x59970, 8},
        DieLayoutCase{"zen3_yellow_carp", 0x19, 0x44, 0x59B00, 0x59B1C, 8},
        DieLayoutCase{"zen4_7950x", 0x19, 0x61, 0x59B08, 0x59B24, 8},
        DieLayoutCase{"zen4_genoa", 0x19, 0x11, 0x59B00, 0x59B2C, 12},
        DieLayoutCase{"zen5_turin", 0x1A, 0x02, 0x599F0, 0x59A2C, 16},
        DieLayoutCase{"zen5_9700x", 0x1A, 0x44, 0x59B08, 0x59B24, 8},
        DieLayoutCase{"family_15h_none", 0x15, 0x02, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Bit 11 says the sensor measures; bits 10..0 are eighths above -49. The
// node's bounds hold for the dies: all ones, and figures past what the
// sensor holds, are no measurement.
TEST(ReadoutDetailsTest, DieSensorFiguresFollowTheValidBitAndTheNodesBounds)
{
    struct Figure {
        SourceReading reading;
        std::optional<long long> celsius;
    };
    const Figure figures[] = {
        {SourceReading::registerValue(0x800 | 776), 48},            // 776 * 125 - 49000 = 48000
        {SourceReading::registerValue(0x800 | 392), 0},             // 0 degrees
        {SourceReading::registerValue(0x800 | 391), std::nullopt},  // below zero
        {SourceReading::registerValue(776), std::nullopt},          // not valid
        {SourceReading::registerValue(0xFFFF'F800 | 776), 48},      // bits above 11 ignored
        {SourceReading::kernelMillidegrees(23'800), 23},            // 5600's Tccd1
        {SourceReading::kernelMillidegrees(-125), std::nullopt},
        {SourceReading::registerValue(0xFFFF'FFFF), std::nullopt},   // no device answered
        {SourceReading::kernelMillidegrees(206'875), std::nullopt},  // the kernel's figure of that
        {SourceReading::kernelMillidegrees(300'000), std::nullopt},  // past the sensor's range
        {SourceReading::kernelMillidegrees(206'750), 206},
    };
    for (const Figure& figure : figures) {
        SCOPED_TRACE(figure.reading.value);
        EXPECT_EQ(dieCelsiusOf(figure.reading), figure.celsius);
    }
}

}  // namespace
}  // namespace veltaro
