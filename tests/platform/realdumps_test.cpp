#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "familycode.h"
#include "fixturetree.h"
#include "linuxportio.h"
#include "pciconfigread.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

using testing::FixtureTree;

// The 256 bytes of a published dump of function 0:18.3 (realdumps/*.txt):
// "#" lines name the source, then sixteen rows "xx: b0 b1 ... b15".
std::string configBytes(const std::string& dumpName)
{
    std::ifstream in(std::string(VELTARO_REALDUMPS) + "/" + dumpName);
    std::string bytes;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream row(line.substr(line.find(':') + 1));
        unsigned value = 0;
        while (row >> std::hex >> value)
            bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

// Passes every call on and notes the configuration addresses selected.
class AddressRecorder final : public PortIo {
public:
    explicit AddressRecorder(PortIo& inner)
        : m_inner(inner)
    {
    }

    std::vector<std::uint32_t> addresses;

    bool InitializeWinIo() override { return m_inner.InitializeWinIo(); }
    bool SetPortVal(std::uint16_t port, std::uint32_t value, std::uint8_t sizeBytes) override
    {
        addresses.push_back(value);
        return m_inner.SetPortVal(port, value, sizeBytes);
    }
    bool GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes) override
    {
        return m_inner.GetPortVal(port, value, sizeBytes);
    }

private:
    PortIo& m_inner;
};

struct DumpCase {
    const char* file;
    std::uint32_t signature;  // register 0xFC
    std::uint32_t thermal;    // register 0xE4, sensor select and fraction bits included
    int kernelCelsius;        // k8temp's figure: bits 23..16 - 49, no revision G offset
};

class RealDumpTest : public ::testing::TestWithParam<DumpCase> {};

// Family 0Fh whatever the signature register holds (most parts before
// revision F read 0 there), register 0xE4 read, only its bits 23..16
// used, and the kernel's figure shown (40 or 41 below 40).
TEST_P(RealDumpTest, ShowsTheKernelsFigure)
{
    const DumpCase& row = GetParam();
    FixtureTree tree;
    const std::string bytes = configBytes(row.file);
    ASSERT_EQ(bytes.size(), 256u);
    tree.writeFile("devices/0000:00:18.3/config", bytes);
    LinuxPortIo driver(tree.root());
    AddressRecorder ports(driver);
    ASSERT_TRUE(ports.InitializeWinIo());

    EXPECT_EQ(PciConfigRead(ports, kSignatureRegister), row.signature);
    EXPECT_EQ(PciConfigRead(ports, kFamily0FhThermalRegister), row.thermal);
    const std::wstring familyCode = detectFamilyCode(ports);
    EXPECT_EQ(familyCode, L"f");

    ports.addresses.clear();
    const std::optional<std::wstring> caption = TemperatureSampler(ports).sample(familyCode);
    ASSERT_FALSE(ports.addresses.empty());
    EXPECT_EQ(ports.addresses.front(), kFamily0FhThermalRegister);
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
        DumpCase{"fam0f-k8-via-k8t800pro.txt", 0x00000000, 0x14530920, 34}),
    [](const auto& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        for (char& c : name)
            c = c == '-' ? '_' : c;
        return name;
    });
// clang-format on

}  // namespace
}  // namespace veltaro
