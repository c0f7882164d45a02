// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "configspacelock.h"
#include "fakeprocessoridentity.h"
#include "familycode.h"
#include "fixturetree.h"
#include "linuxportio.h"
#include "pciconfigread.h"
#include "portsampling.h"
#include "temperaturesampler.h"

namespace veltaro {
namespace {

using testing::detectThroughPorts;
using testing::PortSampler;

// Nothing else uses the configuration ports here.
UncontendedConfigSpace uncontended;

using testing::FixtureTree;

constexpr char kNorthbridge[] = "0000:00:18.3";
constexpr std::uint32_t kFamily10hSignature = 0x00100F42;
constexpr std::uint32_t kThermal55Celsius = 0x37000000;

// The full 256 bytes that a root-opened descriptor sees.
void writeFamily10hNorthbridge(FixtureTree& tree)
{
    tree.writeConfig(kNorthbridge, 256, {{0x00, 0x12031022}, {0xA4, kThermal55Celsius}, {0xFC, kFamily10hSignature}});
}

// Opens the requested file itself and remembers what it was asked for.
class RecordingOpener final : public ConfigFileOpener {
public:
    explicit RecordingOpener(std::vector<std::filesystem::path>& requests, std::vector<int>& descriptors)
        : m_requests(requests)
        , m_descriptors(descriptors)
    {
    }

    UniqueFd open(const std::filesystem::path& configFile) override
    {
        m_requests.push_back(configFile);
        UniqueFd fd(::open(configFile.c_str(), O_RDONLY | O_CLOEXEC));
        m_descriptors.push_back(fd.get());
        return fd;
    }

private:
    std::vector<std::filesystem::path>& m_requests;
    std::vector<int>& m_descriptors;
};

bool isOpen(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1;
}

TEST(LinuxPortIoTest, StartsOnAPresentNorthbridgeAndReadsItsRegisters)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    LinuxPortIo driver(tree.root());

    ASSERT_TRUE(driver.InitializeWinIo());
    EXPECT_EQ(PciConfigRead(driver, 0x8000C3FC), kFamily10hSignature);
    EXPECT_EQ(PciConfigRead(driver, 0x8000C3A4), kThermal55Celsius);
    EXPECT_EQ(PciConfigRead(driver, 0x8000C300), 0x12031022u);
    FakeProcessorIdentity brand;
    EXPECT_EQ(detectThroughPorts(driver, uncontended, brand).familyCode, L"10");
    EXPECT_EQ(PortSampler(driver, uncontended).sample(L"10"), L" 55'C");
}

TEST(LinuxPortIoTest, DoesNotStartWithoutTheNorthbridgeFunction)
{
    FixtureTree tree;
    tree.writeConfig("0000:00:00.0", 256, {{0x00, 0x12001022}});
    LinuxPortIo driver(tree.root());

    EXPECT_FALSE(driver.InitializeWinIo());
    std::uint32_t value = 0x5A5A5A5A;
    driver.SetPortVal(0x0CF8, 0x8000C3A4, 4);
    EXPECT_FALSE(driver.GetPortVal(0x0CFC, value, 4));
    EXPECT_EQ(value, 0x5A5A5A5Au);
}

// An unprivileged opener sees only the first 64 bytes of the file.
TEST(LinuxPortIoTest, DoesNotStartWhenOnlyTheFirst64BytesAreVisible)
{
    FixtureTree tree;
    tree.writeConfig(kNorthbridge, 64, {{0x00, 0x12031022}});
    std::vector<std::filesystem::path> requests;
    std::vector<int> descriptors;
    LinuxPortIo driver(tree.root(), std::make_unique<RecordingOpener>(requests, descriptors));

    EXPECT_FALSE(driver.InitializeWinIo());
    ASSERT_EQ(descriptors.size(), 1u);
    EXPECT_FALSE(isOpen(descriptors[0])) << "a refused descriptor must not be kept";
}

// A FIFO in place of the file would hold an open that waits for a writer
// for ever; the alarm ends the test then instead.
TEST(LinuxPortIoTest, DoesNotStartOnAConfigFileThatIsNotARegularFile)
{
    FixtureTree tree;
    const std::filesystem::path config = tree.writeConfig(kNorthbridge, 0, {});
    std::filesystem::remove(config);
    ASSERT_EQ(::mkfifo(config.c_str(), 0600), 0);
    ::alarm(5);
    EXPECT_FALSE(LinuxPortIo(tree.root(), std::make_unique<EarlyConfigFileOpener>(config)).InitializeWinIo());
    ::alarm(0);
}

TEST(LinuxPortIoTest, ObtainsTheDescriptorOnceForTheNorthbridgeConfigFile)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    std::vector<std::filesystem::path> requests;
    std::vector<int> descriptors;
    LinuxPortIo driver(tree.root(), std::make_unique<RecordingOpener>(requests, descriptors));

    ASSERT_TRUE(driver.InitializeWinIo());
    ASSERT_TRUE(driver.InitializeWinIo());
    for (int tick = 0; tick < 5; ++tick)
        PciConfigRead(driver, 0x8000C3A4);

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], tree.root() / "devices" / "0000:00:18.3" / "config");
    EXPECT_TRUE(isOpen(descriptors[0]));
}

// Registers are read through the descriptor held since the start, not by
// opening the file again (which would need the rights again).
TEST(LinuxPortIoTest, KeepsReadingThroughItsDescriptorAfterTheFileIsGone)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    LinuxPortIo driver(tree.root());
    ASSERT_TRUE(driver.InitializeWinIo());

    std::filesystem::remove_all(tree.root() / "devices");

    EXPECT_EQ(PciConfigRead(driver, 0x8000C3A4), kThermal55Celsius);
}

TEST(LinuxPortIoTest, AbsentFunctionsReadAsAllOnes)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    LinuxPortIo driver(tree.root());
    ASSERT_TRUE(driver.InitializeWinIo());

    // Bus 0, device 24, function 5 and bus 3, device 0, function 0.
    for (std::uint32_t address : {0x8000C5FCu, 0x80030000u}) {
        SCOPED_TRACE(address);
        std::uint32_t value = 0;
        ASSERT_TRUE(driver.SetPortVal(0x0CF8, address, 4));
        ASSERT_TRUE(driver.GetPortVal(0x0CFC, value, 4));
        EXPECT_EQ(value, 0xFFFFFFFFu);
    }
}

TEST(LinuxPortIoTest, ReadsOtherPresentFunctionsFromTheirOwnFiles)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    tree.writeConfig("0000:00:18.0", 64, {{0x00, 0x12001022}});
    LinuxPortIo driver(tree.root());
    ASSERT_TRUE(driver.InitializeWinIo());

    EXPECT_EQ(PciConfigRead(driver, 0x8000C000), 0x12001022u);
}

// The configuration file is opened read-only, so no index can be written
// through it: a register behind an index/data pair is never read, and
// nothing in either function's file changes.
TEST(LinuxPortIoTest, ReadsNoRegisterBehindAnIndexPairAndWritesNothing)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    const std::filesystem::path rootComplex =
        tree.writeConfig("0000:00:00.0", 256, {{0x00, 0x14501022}, {0x64, 0x2A600000}, {0xBC, 0x2A600000}});
    const auto contents = [](const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = contents(rootComplex);
    const std::string northbridgeBefore = contents(tree.root() / "devices" / kNorthbridge / "config");
    LinuxPortIo driver(tree.root());
    ASSERT_TRUE(driver.InitializeWinIo());

    for (const IndexedRegister& pair : {kSmnReportedTemperature, kRootComplexReportedTemperature}) {
        SCOPED_TRACE(pair.index);
        EXPECT_EQ(readIndexedChecked(driver, pair), std::nullopt);
    }
    EXPECT_EQ(contents(rootComplex), before);
    EXPECT_EQ(contents(tree.root() / "devices" / kNorthbridge / "config"), northbridgeBefore);
}

struct RefusedAccessCase {
    const char* name;
    std::uint16_t port;
    std::uint32_t latchedAddress;
    std::uint8_t sizeBytes;
};

class RefusedAccessTest : public ::testing::TestWithParam<RefusedAccessCase> {};

// Only the configuration mechanism is emulated; raw port I/O is refused
// and leaves the caller's value as it was.
TEST_P(RefusedAccessTest, ReportsFailureAndLeavesTheValue)
{
    FixtureTree tree;
    writeFamily10hNorthbridge(tree);
    LinuxPortIo driver(tree.root());
    ASSERT_TRUE(driver.InitializeWinIo());
    driver.SetPortVal(0x0CF8, GetParam().latchedAddress, 4);

    std::uint32_t value = 0x5A5A5A5A;
    EXPECT_FALSE(driver.GetPortVal(GetParam().port, value, GetParam().sizeBytes));
    EXPECT_EQ(value, 0x5A5A5A5Au);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Accesses, RefusedAccessTest,
    ::testing::Values(
        RefusedAccessCase{"enable_bit_clear", 0x0CFC, 0x0000C3A4, 4},
        RefusedAccessCase{"byte_read_of_data_port", 0x0CFC, 0x8000C3A4, 1},
        RefusedAccessCase{"word_read_of_data_port", 0x0CFC, 0x8000C3A4, 2},
        RefusedAccessCase{"other_port", 0x0080, 0x8000C3A4, 4}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(LinuxPortIoTest, RefusesWritesOtherThanTheAddressLatch)
{
    LinuxPortIo driver(std::filesystem::path("nonexistent"));
    EXPECT_FALSE(driver.SetPortVal(0x0CFC, 1, 4));
    EXPECT_FALSE(driver.SetPortVal(0x0CF8, 0x8000C3A4, 2));
    EXPECT_FALSE(driver.SetPortVal(0x0080, 1, 1));
    EXPECT_TRUE(driver.SetPortVal(0x0CF8, 0x8000C3A4, 4));
}

}  // namespace
}  // namespace veltaro
