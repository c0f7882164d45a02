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

    for (const char* text :
         {"", "\n", "55000", "N/A\n", "55000 \n", "0x37\n", "-\n", "+55000\n", "55-000\n", "99999999999999999999\n"}) {
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

// A node whose folder comes after the first count is counted when asked again.
TEST(KernelReadingSourceTest, CountsTheNodesAgainAtMostOnceASecond)
{
    FixtureTree tree;
    writeKernelSensor(tree, "k10temp", "55000\n", cpuInfoText(0x10, 0x04, 2));
    TestClock time;
    KernelReadingSource source(tree.root(), tree.root() / kProcFolder, time.clock());
    ASSERT_TRUE(source.start());
    const ProcessorFamily& row = *findProcessorFamily(ProcessorVendor::Amd, 0x10, 4);
    ASSERT_EQ(source.nodeCount(row), 1u);
    tree.writeFile("devices/0000:00:19.3/hwmon/hwmon7/name", "k10temp\n");
    for (const int passedMs : {999, 1}) {
        time.now += std::chrono::milliseconds(passedMs);
        source.recountNodes();
        EXPECT_EQ(source.nodeCount(row), passedMs == 999 ? 1u : 2u);
    }
}

// One node's hwmon folder as the kernel fills it: label and figure of each
// temperature file, numbered from 1.
struct KernelNode {
    const char* function;  // 0000:00:18.3 ...
    std::vector<std::pair<const char*, const char*>> temperatures;
};

struct KernelDetailsCase {
    const char* name;
    const char* vendor;
    unsigned family;
    unsigned model;
    const char* brand;
    std::vector<KernelNode> nodes;
    const wchar_t* details;
};

class KernelDetailsTest : public ::testing::TestWithParam<KernelDetailsCase> {};

// The kernel's figures of every family, as the readout and its tooltip
// show them: each node's figure, and its dies from the files labelled
// Tccd1 to Tccd16.
TEST_P(KernelDetailsTest, ListsEveryNodesFigureAndItsDies)
{
    const KernelDetailsCase& row = GetParam();
    FixtureTree tree;
    tree.writeFile(std::string(kProcFolder) + "/cpuinfo", cpuInfoText(row.family, row.model, 1, row.vendor, row.brand));
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

// Figures as `sensors` printed them in realdumps-later/ (where a model or
// name was not posted, one of the family's that fits the machine); the
// files' numbering follows today's k10temp (temp1 Tctl, temp2 Tdie, temp3
// on Tccd1).
constexpr char kAmd[] = "AuthenticAMD";
std::vector<KernelNode> only(const char* tctl)
{
    return {{"0000:00:18.3", {{"Tctl", tctl}}}};
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(RealOutputs, KernelDetailsTest,
    ::testing::Values(
        // 17h-tr2950x-1.txt: two nodes, each with Tdie 27 degrees below Tctl.
        KernelDetailsCase{"threadripper_2950x_two_nodes", kAmd, 0x17, 0x08, "AMD Ryzen Threadripper 2950X 16-Core Processor",
            {{"0000:00:18.3", {{"Tctl", "71200"}, {"Tdie", "44200"}}},
             {"0000:00:19.3", {{"Tctl", "71000"}, {"Tdie", "44000"}}}},
            L"Node 0: 44'C\nNode 1: 44'C\nHighest since start: 44'C"},
        // 17h-tr1950x-1.txt: kernel 4.15.1 printed a figure below zero unsigned.
        KernelDetailsCase{"threadripper_1950x_kernel_4_15", kAmd, 0x17, 0x01, "AMD Ryzen Threadripper 1950X 16-Core Processor",
            only("4294948300"), L"Node 0: -\nHighest since start: -"},
        // 15h-apu-1.txt and 15h-gx-420gi-1.txt.
        KernelDetailsCase{"fm2_apu", kAmd, 0x15, 0x30, "AMD A10-7850K", only("0"), L"Node 0: 0'C\nHighest since start: 0'C"},
        KernelDetailsCase{"gx_420gi", kAmd, 0x15, 0x60, "AMD GX-420GI", only("48800"), L"Node 0: 48'C\nHighest since start: 48'C"},
        // 19h-epyc-genoa-1.txt: Tctl and four dies. Model 11h (not posted).
        KernelDetailsCase{"epyc_genoa_four_dies", kAmd, 0x19, 0x11, "AMD EPYC 9124 16-Core Processor",
            {{"0000:00:18.3", {{"Tctl", "39000"}, {"Tccd1", "33000"}, {"Tccd2", "32900"}, {"Tccd3", "34800"},
                               {"Tccd4", "34400"}}}},
            L"Node 0: 39'C\n  CCD 1: 33'C\n  CCD 2: 32'C\n  CCD 3: 34'C\n  CCD 4: 34'C\nHighest since start: 39'C"},
        // 19h-r5-5600-1.txt: Tctl and one die. Model 21h (not posted).
        KernelDetailsCase{"ryzen_5_5600_one_die", kAmd, 0x19, 0x21, "AMD Ryzen 5 5600 6-Core Processor",
            {{"0000:00:18.3", {{"Tctl", "27000"}, {"Tccd1", "23800"}}}},
            L"Node 0: 27'C\n  CCD 1: 23'C\nHighest since start: 27'C"},
        // A die whose file does not read is not listed until it has measured.
        KernelDetailsCase{"unreadable_die", kAmd, 0x19, 0x21, "AMD Ryzen 9 5900X 12-Core Processor",
            {{"0000:00:18.3", {{"Tctl", "61000"}, {"Tccd1", "N/A"}, {"Tccd2", "58250"}}}},
            L"Node 0: 61'C\n  CCD 2: 58'C\nHighest since start: 61'C"},
        // Every other family of the table starts on its driver's folder.
        KernelDetailsCase{"family_12h", kAmd, 0x12, 0x01, "AMD A8-3850", only("45125"), L"Node 0: 45'C\nHighest since start: 45'C"},
        KernelDetailsCase{"family_16h", kAmd, 0x16, 0x00, "AMD Athlon 5350", only("36000"), L"Node 0: 36'C\nHighest since start: 36'C"},
        KernelDetailsCase{"hygon_18h", "HygonGenuine", 0x18, 0x00, "Hygon C86 7185", only("41500"), L"Node 0: 41'C\nHighest since start: 41'C"},
        KernelDetailsCase{"family_1ah", kAmd, 0x1A, 0x44, "AMD Ryzen 7 9700X", only("55875"), L"Node 0: 55'C\nHighest since start: 55'C"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace veltaro
