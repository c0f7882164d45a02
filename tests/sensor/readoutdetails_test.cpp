// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>

#include "readoutdetails.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

// Hands over what the test put in, by node and die; counts the reads.
class ScriptedSource final : public ReadingSource {
public:
    std::map<unsigned, std::optional<SourceReading>> nodes;
    std::map<std::pair<unsigned, unsigned>, SourceReading> dies;  // (node, die number)
    int nodeReads = 0;
    int dieReads = 0;

    bool start() override { return true; }
    std::optional<std::uint32_t> signatureRegister() override { return std::nullopt; }
    std::optional<SourceReading> read(const ProcessorFamily& row) override { return readNode(row, 0); }
    unsigned nodeCount(const ProcessorFamily&) override { return static_cast<unsigned>(nodes.size()); }
    std::optional<SourceReading> readNode(const ProcessorFamily&, unsigned node) override
    {
        ++nodeReads;
        return nodes.count(node) != 0 ? nodes[node] : std::nullopt;
    }
    std::optional<SourceReading> readDie(unsigned node, const DieSensor& die) override
    {
        ++dieReads;
        const auto found = dies.find({node, die.number});
        return found == dies.end() ? std::nullopt : std::optional<SourceReading>(found->second);
    }
};

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
        {degrees(38), L"Highest since start: 61'C"},
        {SourceReading::registerValue(0xFFFF'FFFF), L"Highest since start: 61'C"},
    };
    ScriptedSource source;
    TemperatureSampler sampler(source);
    sampler.setProcessor(family(L"10"));
    ReadoutDetails details(source);
    for (const Step& step : steps) {
        source.nodes[0] = step.reading;
        const std::optional<std::wstring> caption = sampler.sample(L"10");
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
        DieLayoutCase{"zen_plus_2950x", 0x17, 0x08, 0x59954, 0x59960, 4},
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

// Bit 11 says the sensor measures; bits 10..0 are eighths above -49.
TEST(ReadoutDetailsTest, DieSensorFiguresFollowTheValidBit)
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
    };
    for (const Figure& figure : figures) {
        SCOPED_TRACE(figure.reading.value);
        EXPECT_EQ(dieCelsiusOf(figure.reading), figure.celsius);
    }
}

}  // namespace
}  // namespace veltaro
