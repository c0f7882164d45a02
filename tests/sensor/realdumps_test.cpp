// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "configspacesampling.h"
#include "fakeconfigspace.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "pciconfigread.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

// The registers of a published dump of function 0:18.3 (realdumps/*.txt):
// "#" lines name the source, then sixteen rows "xx: b0 b1 ... b15" of
// little-endian bytes.
std::map<std::uint32_t, std::uint32_t> dumpRegisters(const std::string& file)
{
    std::ifstream in(std::string(VELTARO_REALDUMPS) + "/" + file);
    std::map<std::uint32_t, std::uint32_t> registers;
    std::uint32_t offset = 0;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream bytes(line.substr(line.find(':') + 1));
        for (unsigned byte = 0; !line.empty() && line[0] != '#' && bytes >> std::hex >> byte; ++offset)
            registers[0x8000C300 | (offset & 0xFC)] |= byte << (8 * (offset % 4));
    }
    return registers;
}

struct DumpCase {
    const char* file;
    std::uint32_t signature;  // register 0xFC
    std::uint32_t thermal;    // register 0xE4, with its sensor select and fraction bits
    int kernelCelsius;        // k8temp's figure: bits 23..16 less 49
};

class RealDumpTest : public ::testing::TestWithParam<DumpCase> {};

// Family 0Fh whatever register 0xFC holds (0 on most parts before revision
// F), register 0xE4 sampled with only its bits 23..16 used, and the
// kernel's figure shown (40 or 41 below 40).
TEST_P(RealDumpTest, ShowsTheKernelsFigure)
{
    const DumpCase& row = GetParam();
    FakeConfigSpace space;
    space.registers = dumpRegisters(row.file);
    ASSERT_EQ(space.registers.size(), 64u);
    EXPECT_EQ(PciConfigRead(space, kSignatureRegister), row.signature);
    EXPECT_EQ(PciConfigRead(space, kThermtripStatusRegister), row.thermal);

    FakeProcessorIdentity brand(0x04);
    const DetectedFamily family = testing::detectThroughConfigSpace(space, testing::uncontended, brand);
    EXPECT_EQ(family.familyCode, L"f");
    space.calls.clear();
    testing::ConfigSpaceSampler sampler(space);
    sampler.setProcessor(DetectedFamily{L"f", ProcessorVendor::Amd, 0, family.family0FhOffsetCelsius, 0});
    const std::optional<std::wstring> caption = sampler.sample(family.familyCode);

    ASSERT_FALSE(space.calls.empty());
    EXPECT_EQ(space.calls.front().address, kThermtripStatusRegister);
    if (row.kernelCelsius >= 40)
        EXPECT_EQ(caption, L" " + std::to_wstring(row.kernelCelsius) + L"'C");
    else
        EXPECT_TRUE(caption == L" 40'C" || caption == L" 41'C");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Dumps, RealDumpTest,
    ::testing::Values(
        DumpCase{"fam0f-athlon64x2-3800-socket939.txt", 0x00000000, 0x0E4E0720, 29},
        DumpCase{"fam0f-athlon64x2-5600-revF.txt", 0x00040F33, 0x00511924, 32},
        DumpCase{"fam0f-k8-nforce3.txt", 0x00000000, 0x005C0E20, 43},
        DumpCase{"fam0f-k8-sis760-a.txt", 0x00000000, 0x00500C20, 31},
        DumpCase{"fam0f-k8-sis760-b.txt", 0x00000000, 0x00480C20, 23},
        DumpCase{"fam0f-k8-via-k8t800pro.txt", 0x00000000, 0x14530920, 34}));
// clang-format on

}  // namespace
}  // namespace veltaro
