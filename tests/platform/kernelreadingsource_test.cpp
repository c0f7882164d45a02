// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <chrono>

#include "familycode.h"
#include "kernelreadingsource.h"
#include "kernelsensorfixture.h"
#include "linuxprocessoridentity.h"
#include "readoutdetails.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

using testing::cpuInfoText;
using testing::FixtureTree;
using testing::hwmonFolder;
using testing::kHwmonFolder;
using testing::kProcFolder;
using testing::writeKernelSensor;

constexpr char kAmd[] = "AuthenticAMD";
constexpr char kHygon[] = "HygonGenuine";

std::string captionText(const std::optional<std::wstring>& caption)
{
    return caption ? std::string(caption->begin(), caption->end()) : "none";
}

KernelReadingSource sourceOn(const FixtureTree& tree)
{
    return KernelReadingSource(tree.root(), tree.root() / kProcFolder);
}

// A clock that stands still until the test moves it.
struct TestClock {
    std::chrono::steady_clock::time_point now{};
    KernelTemperature::Clock clock()
    {
        return [this] { return now; };
    }
};

struct Processor {
    const char* vendor;
    unsigned family;
    unsigned model;
    unsigned stepping;
    const char* brand;
};

// The caption the program shows on that processor with those k10temp
// files, through the source, the family detection and the sampler, as the
// window's start and tick use them.
std::optional<std::wstring> captionOn(const Processor& processor, const char* temp1, const char* temp2)
{
    FixtureTree tree;
    tree.writeFile(
        std::string(kProcFolder) + "/cpuinfo",
        cpuInfoText(processor.family, processor.model, processor.stepping, processor.vendor, processor.brand));
    tree.writeFile(std::string(kHwmonFolder) + "/name", "k10temp\n");
    tree.writeFile(std::string(kHwmonFolder) + "/temp1_input", temp1);
    if (temp2 != nullptr)
        tree.writeFile(std::string(kHwmonFolder) + "/temp2_input", temp2);
    const std::filesystem::path procRoot = tree.root() / kProcFolder;
    KernelReadingSource source(tree.root(), procRoot);
    if (!source.start())
        return std::nullopt;
    LinuxProcessorIdentity identity(procRoot);
    const DetectedFamily detected = detectFamily(source, identity);
    TemperatureSampler sampler(source);
    sampler.setProcessor(detected);
    return sampler.sample(detected.familyCode);
}

struct KernelCase {
    const char* name;
    Processor processor;
    const char* temp1;       // temp1_input, written as is
    const char* temp2;       // temp2_input; nullptr: the kernel shows none
    const wchar_t* caption;  // L"": no measurement
};

class HwmonKernelFigureTest : public ::testing::TestWithParam<KernelCase> {};

TEST_P(HwmonKernelFigureTest, ShowsTheKernelsFigureInWholeDegrees)
{
    const KernelCase& row = GetParam();
    EXPECT_EQ(captionText(captionOn(row.processor, row.temp1, row.temp2)), captionText(std::wstring(row.caption)));
}

constexpr Processor kThreadripper2950X{kAmd, 0x17, 0x08, 2, "AMD Ryzen Threadripper 2950X 16-Core Processor"};
constexpr Processor kAthlon5350{kAmd, 0x16, 0x00, 1, "AMD Athlon(tm) 5350 APU with Radeon(tm) R3"};
constexpr Processor kRyzen5600{kAmd, 0x19, 0x21, 2, "AMD Ryzen 5 5600 6-Core Processor"};

// Figures as `sensors` printed them in the published outputs of
// realdumps-later/. Where a model or name string was not posted, the row
// takes one of the family's that fits the machine described; the comment
// says so.
// clang-format off
INSTANTIATE_TEST_SUITE_P(RealOutputs, HwmonKernelFigureTest,
    ::testing::Values(
        // 17h-tr2950x-1.txt: Tdie +44.2 beside Tctl +71.2, 27 degrees above it.
        KernelCase{"threadripper_2950x", kThreadripper2950X, "71200\n", "44200\n", L" 44'C"},
        // 17h-tr1950x-1.txt: kernel 4.15.1 took the 27 degrees off a colder
        // reading and printed it unsigned. Model 1 (not posted).
        KernelCase{"threadripper_1950x_kernel_4_15",
                   {kAmd, 0x17, 0x01, 1, "AMD Ryzen Threadripper 1950X 16-Core Processor"}, "4294948300\n", nullptr, L""},
        // 15h-apu-1.txt: an FM2+ APU, Tctl +0.0. Model 30h and name not posted.
        KernelCase{"fm2_apu", {kAmd, 0x15, 0x30, 1, "AMD A10-7850K Radeon R7, 12 Compute Cores 4C+8G"},
                   "0\n", nullptr, L" 0'C"},
        // 15h-apu-3.txt: a 65 W desktop APU, Tctl +11.1. Model 30h and name not posted.
        KernelCase{"desktop_apu", {kAmd, 0x15, 0x30, 1, "AMD A8-7600 Radeon R7, 10 Compute Cores 4C+6G"},
                   "11100\n", nullptr, L" 11'C"},
        // 15h-opteron-x3216-1.txt: Tctl +28.2. Model 65h (Bristol Ridge, not posted).
        KernelCase{"opteron_x3216", {kAmd, 0x15, 0x65, 1, "AMD Opteron(tm) X3216 APU"}, "28200\n", nullptr, L" 28'C"},
        // 15h-gx-420gi-1.txt: Tctl +48.8. Model 60h (Carrizo's cores, not posted).
        KernelCase{"gx_420gi", {kAmd, 0x15, 0x60, 1, "AMD GX-420GI SOC with Radeon(TM) R7E Graphics"},
                   "48800\n", nullptr, L" 48'C"},
        // 19h-r5-5600-1.txt: Tctl +27.0, no Tdie. Model 21h (not posted).
        KernelCase{"ryzen_5_5600", kRyzen5600, "27000\n", nullptr, L" 27'C"},
        // 19h-epyc-genoa-1.txt: Tctl +39.0, no Tdie. Model 11h and name not posted.
        KernelCase{"epyc_genoa", {kAmd, 0x19, 0x11, 1, "AMD EPYC 9124 16-Core Processor"}, "39000\n", nullptr, L" 39'C"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(Families, HwmonKernelFigureTest,
    ::testing::Values(
        KernelCase{"family_12h", {kAmd, 0x12, 0x01, 0, "AMD A8-3850 APU with Radeon(tm) HD Graphics"},
                   "45125\n", nullptr, L" 45'C"},
        KernelCase{"family_14h", {kAmd, 0x14, 0x02, 0, "AMD E-450 APU with Radeon(tm) HD Graphics"},
                   "52875\n", nullptr, L" 52'C"},
        KernelCase{"family_16h", kAthlon5350, "36000\n", nullptr, L" 36'C"},
        KernelCase{"family_15h_model_60h", {kAmd, 0x15, 0x60, 1, "AMD A10-8700P Radeon R6, 10 Compute Cores 4C+6G"},
                   "60125\n", nullptr, L" 60'C"},
        KernelCase{"hygon_18h", {kHygon, 0x18, 0x00, 1, "Hygon C86 7185 32-core Processor"}, "41500\n", nullptr, L" 41'C"},
        KernelCase{"family_1ah", {kAmd, 0x1A, 0x44, 0, "AMD Ryzen 7 9700X 8-Core Processor"}, "55875\n", nullptr, L" 55'C"}),
    [](const auto& info) { return std::string(info.param.name); });

// The kernel's figure comes with no registers: the processor's own
// signature decides the family, here a family 10h part's.
TEST(KernelReadingSourceTest, HasNoSignatureRegister)
{
    FixtureTree tree;
    writeKernelSensor(tree, "k10temp", "55000\n", cpuInfoText(0x10, 0x04, 2));
    KernelReadingSource source = sourceOn(tree);
    ASSERT_TRUE(source.start());
    EXPECT_EQ(source.signatureRegister(), std::nullopt);
    LinuxProcessorIdentity identity(tree.root() / kProcFolder);
    EXPECT_EQ(detectFamily(source, identity).familyCode, L"10");
}

// sysfs writes each figure as one line; anything else at a tick is no
// reading, and the next good figure is shown again.
TEST(KernelReadingSourceTest, ATickWhoseFigureCannotBeReadShowsNoReading)
{
    FixtureTree tree;
    writeKernelSensor(tree, "k10temp", "55000\n", cpuInfoText(0x16, 0, 1));
    TestClock time;
    KernelReadingSource source(tree.root(), tree.root() / kProcFolder, time.clock());
    ASSERT_TRUE(source.start());
    TemperatureSampler sampler(source);
    sampler.setProcessor(DetectedFamily{L"16", ProcessorVendor::Amd, 0, 0, 0});
    ASSERT_EQ(sampler.sample(L"16"), L" 55'C");

    for (const char* text : {"", "\n", "55000", "N/A\n", "55000 \n", "0x37\n"}) {
        SCOPED_TRACE(text);
        tree.writeFile(std::string(kHwmonFolder) + "/temp1_input", text);
        EXPECT_EQ(sampler.sample(L"16"), std::wstring());
    }
    tree.writeFile(std::string(kHwmonFolder) + "/temp1_input", "62125\n");
    EXPECT_EQ(sampler.sample(L"16"), L" 62'C");
}

// Another sensor's folder, or one of the same driver whose file does not
// read, is passed over at start.
TEST(KernelReadingSourceTest, StartsOnTheFirstFolderOfItsDriverThatReads)
{
    FixtureTree tree;
    tree.writeFile(std::string(kProcFolder) + "/cpuinfo", cpuInfoText(0x16, 0, 1));
    tree.writeFile(hwmonFolder(0) + "/name", "k10temp\n");
    tree.writeFile(hwmonFolder(0) + "/temp1_input", "N/A\n");
    tree.writeFile(hwmonFolder(1) + "/name", "nct6775\n");
    tree.writeFile(hwmonFolder(1) + "/temp1_input", "30000\n");
    tree.writeFile(hwmonFolder(2) + "/name", "k10temp\n");
    tree.writeFile(hwmonFolder(2) + "/temp1_input", "47000\n");
    KernelReadingSource source = sourceOn(tree);
    ASSERT_TRUE(source.start());
    TemperatureSampler sampler(source);
    sampler.setProcessor(DetectedFamily{L"16", ProcessorVendor::Amd, 0, 0, 0});
    EXPECT_EQ(sampler.sample(L"16"), L" 47'C");
}

// Unbinding the driver removes its folder, and the held file stops
// reading; bound again, the kernel may number the new folder differently.
TEST(KernelReadingSourceTest, TakesTheFolderOfADriverBoundAgainLookingAtMostOnceASecond)
{
    using std::chrono_literals::operator""ms;
    FixtureTree tree;
    writeKernelSensor(tree, "k10temp", "55000\n", cpuInfoText(0x16, 0, 1));
    TestClock time;
    KernelReadingSource source(tree.root(), tree.root() / kProcFolder, time.clock());
    ASSERT_TRUE(source.start());
    TemperatureSampler sampler(source);
    sampler.setProcessor(DetectedFamily{L"16", ProcessorVendor::Amd, 0, 0, 0});
    ASSERT_EQ(sampler.sample(L"16"), L" 55'C");

    tree.writeFile(std::string(kHwmonFolder) + "/temp1_input", "");
    std::filesystem::remove_all(tree.root() / kHwmonFolder);
    time.now += 1500ms;
    EXPECT_EQ(sampler.sample(L"16"), std::wstring()) << "nothing to find yet";
    tree.writeFile(hwmonFolder(1) + "/name", "k10temp\n");
    tree.writeFile(hwmonFolder(1) + "/temp1_input", "62125\n");
    time.now += 900ms;
    EXPECT_EQ(sampler.sample(L"16"), std::wstring()) << "looked for again within a second";
    time.now += 100ms;
    EXPECT_EQ(sampler.sample(L"16"), L" 62'C");
    tree.writeFile(hwmonFolder(1) + "/temp1_input", "63000\n");
    EXPECT_EQ(sampler.sample(L"16"), L" 63'C");
}

}  // namespace
}  // namespace veltaro

namespace veltaro {
namespace {

using testing::cpuInfoText;
using testing::FixtureTree;
using testing::kProcFolder;

// One node's hwmon folder as the kernel fills it: label and figure of each
// temperature file, numbered from 1.
struct KernelNode {
    const char* function;  // 0000:00:18.3 ...
    std::vector<std::pair<const char*, const char*>> temperatures;
};

struct KernelDetailsCase {
    const char* name;
    unsigned family;
    unsigned model;
    const char* brand;
    std::vector<KernelNode> nodes;
    const wchar_t* details;
};

class KernelDetailsTest : public ::testing::TestWithParam<KernelDetailsCase> {};

// The tooltip's text on the kernel's folders of every node, each node's
// figure as the readout takes it and its dies from the files labelled
// Tccd1 to Tccd16.
TEST_P(KernelDetailsTest, ListsEveryNodesFigureAndItsDies)
{
    const KernelDetailsCase& row = GetParam();
    FixtureTree tree;
    tree.writeFile(std::string(kProcFolder) + "/cpuinfo",
                   cpuInfoText(row.family, row.model, 1, "AuthenticAMD", row.brand));
    int hwmon = 2;
    for (const KernelNode& node : row.nodes) {
        const std::string folder = std::string("devices/") + node.function + "/hwmon/hwmon" + std::to_string(hwmon++);
        tree.writeFile(folder + "/name", "k10temp\n");
        int number = 1;
        for (const auto& [label, figure] : node.temperatures) {
            const std::string file = folder + "/temp" + std::to_string(number++);
            tree.writeFile(file + "_label", std::string(label) + "\n");
            tree.writeFile(file + "_input", std::string(figure) + "\n");
        }
    }
    const std::filesystem::path procRoot = tree.root() / kProcFolder;
    KernelReadingSource source(tree.root(), procRoot);
    ASSERT_TRUE(source.start());
    LinuxProcessorIdentity identity(procRoot);
    const DetectedFamily detected = detectFamily(source, identity);
    TemperatureSampler sampler(source);
    sampler.setProcessor(detected);
    sampler.sample(detected.familyCode);
    ReadoutDetails details(source);
    EXPECT_EQ(details.text(sampler), row.details);
}

// Figures as `sensors` printed them in realdumps-later/; the files'
// numbering follows today's k10temp (temp1 Tctl, temp2 Tdie, temp3 on
// Tccd1).
// clang-format off
INSTANTIATE_TEST_SUITE_P(RealOutputs, KernelDetailsTest,
    ::testing::Values(
        // 17h-tr2950x-1.txt: two nodes, each with Tdie 27 degrees below Tctl.
        KernelDetailsCase{"threadripper_2950x_two_nodes", 0x17, 0x08, "AMD Ryzen Threadripper 2950X 16-Core Processor",
            {{"0000:00:18.3", {{"Tctl", "71200"}, {"Tdie", "44200"}}},
             {"0000:00:19.3", {{"Tctl", "71000"}, {"Tdie", "44000"}}}},
            L"Node 0: 44'C\nNode 1: 44'C\nHighest since start: 44'C"},
        // 19h-epyc-genoa-1.txt: Tctl and four dies. Model 11h (not posted).
        KernelDetailsCase{"epyc_genoa_four_dies", 0x19, 0x11, "AMD EPYC 9124 16-Core Processor",
            {{"0000:00:18.3", {{"Tctl", "39000"}, {"Tccd1", "33000"}, {"Tccd2", "32900"}, {"Tccd3", "34800"},
                               {"Tccd4", "34400"}}}},
            L"Node 0: 39'C\n  CCD 1: 33'C\n  CCD 2: 32'C\n  CCD 3: 34'C\n  CCD 4: 34'C\nHighest since start: 39'C"},
        // 19h-r5-5600-1.txt: Tctl and one die. Model 21h (not posted).
        KernelDetailsCase{"ryzen_5_5600_one_die", 0x19, 0x21, "AMD Ryzen 5 5600 6-Core Processor",
            {{"0000:00:18.3", {{"Tctl", "27000"}, {"Tccd1", "23800"}}}},
            L"Node 0: 27'C\n  CCD 1: 23'C\nHighest since start: 27'C"},
        // A die whose file does not read shows "-" once it has been seen;
        // one never seen is not listed.
        KernelDetailsCase{"unreadable_die", 0x19, 0x21, "AMD Ryzen 9 5900X 12-Core Processor",
            {{"0000:00:18.3", {{"Tctl", "61000"}, {"Tccd1", "N/A"}, {"Tccd2", "58250"}}}},
            L"Node 0: 61'C\n  CCD 2: 58'C\nHighest since start: 61'C"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
